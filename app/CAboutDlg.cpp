// SPDX-License-Identifier: MIT
#include "app/CAboutDlg.h"

#include "app/ControlIds.h"
#include "app/ProgramIcon.h"
#include "controls/CTransparentStatic.h"
#include "controls/DialogTemplate.h"
#include "controls/DrawGradient.h"

#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include <iterator>

namespace {
using K = DialogItemKind;
constexpr int C = Qt::AlignHCenter;

// Positions are x, y, width, height in dialog units.
const DialogItem kItems[] = {
    { -1, K::Icon, nullptr, 11, 17, 20, 20, C, false },
    { IdVersionLabel, K::TransparentStatic, "Fotolot Version " FOTOLOT_VERSION_TEXT, 37, 14, 141, 8,
        C, false },
    { IdNoticeLabel, K::TransparentStatic, "Free software under the MIT License", 37, 29, 141, 8, C,
        false },
    { IdOk, K::DefPushButton, "OK", 186, 13, 36, 27, C, true },
};

const DialogTemplate kTemplate
    = { "About Fotolot", 235, 55, kItems, static_cast<int>(std::size(kItems)) };

constexpr QRgb kTopColour = qRgb(240, 240, 255);
constexpr QRgb kBottomColour = qRgb(208, 208, 223);
} // namespace

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint)
{
    const DialogItems items(*this, kTemplate);
    items.Icon()->setPixmap(ProgramIconPixmap(32));
    m_versionLabel = items.Get<CTransparentStatic>(IdVersionLabel);
    m_noticeLabel = items.Get<CTransparentStatic>(IdNoticeLabel);
    connect(items.Get<QPushButton>(IdOk), &QPushButton::clicked, this, &QDialog::accept);
    setWindowIcon(ProgramIcon());
    // The gradient covers the whole client area, so Qt need not fill it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    OnInitDialog();
}

void CAboutDlg::OnInitDialog()
{
    m_versionLabel->SetBold(true);
    m_noticeLabel->SetBold(true);
}

void CAboutDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    DrawGradient(painter, rect(), kTopColour, kBottomColour, kGradientRows);
}
