// SPDX-License-Identifier: MIT
// The main window as the tests and the benchmark drive it: each control a user reaches,
// typed and by what it is, the acts a user does (open, query, sort, show, expand) through
// the controls' own signals, and what the window holds to read. Nothing here changes the
// window behind the controls' backs.
#pragma once

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

#include "app/CMainDialog.h"

class CMainDialog::Driver {
public:
    explicit Driver(CMainDialog& dialog)
        : m_d(dialog)
    {
    }

    CTransparentStatic* LinkLabel() const { return m_d.m_linkLabel; }
    CTransparentStatic* MatchesLabel() const { return m_d.m_matchesLabel; }
    CChartStatic* Chart() const { return m_d.m_chart; }
    QComboBox* ShowCombo() const { return m_d.m_showCombo; }
    UpDownControl* FocalMinSpin() const { return m_d.m_focalMinSpin; }
    UpDownControl* FocalMaxSpin() const { return m_d.m_focalMaxSpin; }
    QTableView* ResultsList() const { return m_d.m_resultsList; }
    QComboBox* ApertureMinCombo() const { return m_d.m_apertureMinCombo; }
    QComboBox* ApertureMaxCombo() const { return m_d.m_apertureMaxCombo; }
    QComboBox* ShutterMinCombo() const { return m_d.m_shutterMinCombo; }
    QComboBox* ShutterMaxCombo() const { return m_d.m_shutterMaxCombo; }
    QComboBox* IsoMinCombo() const { return m_d.m_isoMinCombo; }
    QComboBox* IsoMaxCombo() const { return m_d.m_isoMaxCombo; }
    QLineEdit* FocalMinEdit() const { return m_d.m_focalMinEdit; }
    QLineEdit* FocalMaxEdit() const { return m_d.m_focalMaxEdit; }
    QPushButton* OpenButton() const { return m_d.m_openButton; }
    QPushButton* QueryButton() const { return m_d.m_queryButton; }
    QPushButton* ScreenshotButton() const { return m_d.m_screenshotButton; }
    QPushButton* ExitButton() const { return m_d.m_exitButton; }
    QLabel* ApertureHeading() const { return m_d.m_apertureHeading; }
    QLabel* IsoHeading() const { return m_d.m_isoHeading; }
    QLabel* ShutterHeading() const { return m_d.m_shutterHeading; }
    QLabel* FocalHeading() const { return m_d.m_focalHeading; }
    QLabel* MinHeading() const { return m_d.m_minHeading; }
    QLabel* MaxHeading() const { return m_d.m_maxHeading; }
    QLabel* ShowHeading() const { return m_d.m_showHeading; }
    QLabel* MatchesHeading() const { return m_d.m_matchesHeading; }
    QAction* ExpandedAction() const { return m_d.m_expandedAction; }
    ExpandedPanel* Panel() const { return m_d.m_panel; }

    // The catalogue behind the window: to read after a scan, or for the benchmark to
    // fill with generated photos before FillSelectorsFromCatalogue.
    PhotoCatalogue& Catalogue() const { return m_d.m_catalogue; }
    // The rows the list shows, to set a list that no scan could make.
    ResultsModel& Results() const { return *m_d.m_resultsModel; }

    // The acts, each through the signal the user's act sends.
    void Open() const { m_d.m_openButton->click(); }
    void Query() const { m_d.m_queryButton->click(); }
    void Sort(int column) const
    {
        emit m_d.m_resultsList->horizontalHeader()->sectionClicked(column);
    }
    void Show(int index) const
    {
        m_d.m_showCombo->setCurrentIndex(index);
        emit m_d.m_showCombo->activated(index);
    }
    void Expand(bool on) const
    {
        if (m_d.m_expandedAction->isChecked() != on)
            m_d.m_expandedAction->trigger();
    }

private:
    CMainDialog& m_d;
};
