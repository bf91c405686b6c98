// SPDX-License-Identifier: MIT
// The modal "Scanning files..." box of a scan run. It asks its chooser for the items to
// read (the open dialog unless told otherwise) once it is up, has a ScanRun read them and
// shows the file just handled and the number of photos so far. exec() returns Accepted
// after a completed run and Rejected after a cancelled one or a dismissed chooser; when
// the application is told to quit meanwhile, it cancels the run and returns once the
// worker has ended.
#pragma once

#include <QString>

#include "controls/ProgressBox.h"
#include "scan/ScanChoice.h"

struct PhotoCatalogue;
class QTimer;
class ScanRun;

class CScanProgressDlg : public ProgressBox {
    Q_OBJECT
public:
    explicit CScanProgressDlg(QWidget* parent = nullptr);
    ~CScanProgressDlg() override;

    int exec() override;

    QString m_fileText;
    QString m_totalText;
    PhotoCatalogue* m_catalogue = nullptr; // set by the caller before exec()
    ScanChooser m_chooseItems = ChoosePhotoFiles; // may be replaced before exec()

signals:
    // Emitted after a notice was handled (tests and the benchmark watch the run with it).
    void NoticeHandled(int code);

private:
    void ChooseItemsAndStart();
    // Shows one notice of the run; the worker waits meanwhile.
    void OnScanNotice(int code);
    void UpdateData(bool saveAndValidate);
    void ShowPendingTexts();

    ScanRun* m_run = nullptr;
    QTimer* m_repaintTimer = nullptr;
    bool m_textsPending = false;
};
