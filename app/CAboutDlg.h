// SPDX-License-Identifier: MIT
// The About box: the icon, the version line and our notice line, both bold, over a
// gradient, and a default OK button. Run modally as a local object.
#pragma once

#include <QDialog>

class CTransparentStatic;
class QPaintEvent;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    CTransparentStatic* m_versionLabel = nullptr;
    CTransparentStatic* m_noticeLabel = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnInitDialog();
};
