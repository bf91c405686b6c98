// SPDX-License-Identifier: MIT
#include "controls/ProgressBox.h"

#include <QAbstractButton>
#include <QPainter>
#include <QPushButton>

#include <iterator>

#include "controls/CTransparentStatic.h"
#include "controls/DialogTemplate.h"
#include "controls/DrawGradient.h"

namespace {
constexpr int kIdCancel = 2;
constexpr int kIdCount = 1018;
constexpr int kIdFile = 1019;

// The scan's count label is wider than its caption needs so that a count of six digits
// shows whole in bold.
const DialogItem kScanItems[] = {
    { kIdCancel, DialogItemKind::PushButton, "Cancel", 97, 36, 50, 14, Qt::AlignLeft, true },
    { kIdFile, DialogItemKind::TransparentStatic, "Static", 39, 7, 200, 8, Qt::AlignLeft, false },
    { -1, DialogItemKind::Static, "File:", 7, 7, 14, 8, Qt::AlignLeft, false },
    { -1, DialogItemKind::Static, "Total:", 7, 19, 19, 8, Qt::AlignLeft, false },
    { kIdCount, DialogItemKind::TransparentStatic, "Static", 39, 19, 60, 8, Qt::AlignLeft, false },
};
const DialogItem kSaveItems[] = {
    { kIdCancel, DialogItemKind::PushButton, "Cancel", 97, 36, 50, 14, Qt::AlignLeft, true },
    { kIdFile, DialogItemKind::TransparentStatic, "", 39, 7, 200, 8, Qt::AlignLeft, false },
    { -1, DialogItemKind::Static, "File:", 7, 7, 14, 8, Qt::AlignLeft, false },
    { -1, DialogItemKind::Static, "Written:", 7, 19, 30, 8, Qt::AlignLeft, false },
    { kIdCount, DialogItemKind::TransparentStatic, "", 39, 19, 100, 8, Qt::AlignLeft, false },
};
const DialogTemplate kScanTemplate
    = { "Scanning files...", 246, 57, kScanItems, static_cast<int>(std::size(kScanItems)) };
const DialogTemplate kSaveTemplate
    = { "Saving file...", 246, 57, kSaveItems, static_cast<int>(std::size(kSaveItems)) };
} // namespace

ProgressBox::ProgressBox(Task task, QWidget* parent)
    : QDialog(parent)
{
    setWindowFlags(
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    const DialogItems items(*this, task == Task::Scan ? kScanTemplate : kSaveTemplate);
    m_cancelButton = items.Get<QPushButton>(kIdCancel);
    m_fileLabel = items.Get<CTransparentStatic>(kIdFile);
    m_countLabel = items.Get<CTransparentStatic>(kIdCount);
    m_fileLabel->SetBold(true);
    m_countLabel->SetBold(true);
    connect(m_cancelButton, &QAbstractButton::clicked, this, &ProgressBox::reject);
}

void ProgressBox::reject()
{
    emit CancelPressed();
}

void ProgressBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    DrawGradient(painter, rect(), qRgb(240, 240, 255), qRgb(208, 208, 223), kGradientRows);
}
