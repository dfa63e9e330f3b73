#pragma once

// The pick-one list of every database: one row per record of a document (the rows the document
// gives through GetRecordRows), or one row per entry of names when there is no document. After
// OK, selection holds the chosen row's record index (for elements, the element number), -1
// when no row is selected.

#include "support/DialogStyle.h"
#include "support/StringArrayEx.h"

#include <string>

class CDocument;
class CTabStopDelegate;
class QListWidget;
class QPushButton;

class CSelectOneDlg : public CStyledDialog {
    Q_OBJECT

public:
    CSelectOneDlg(QWidget* parent, unsigned helpId);

    int selection = -1;
    std::string caption = "Select One:";
    CDocument* document = nullptr; // the database to list, or none
    CStringArrayEx names;          // listed when there is no document
    int preselect = -1;            // the record index whose row starts selected
    int filled = 0;                // the list was filled

    QListWidget* List() const { return m_list; }
    QPushButton* OkButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }
    QPushButton* HelpButton() const { return m_helpButton; }
    // The tab stops of the list, in pixels.
    const std::vector<int>& TabStops() const;

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;
    void showEvent(QShowEvent* event) override;

private:
    void Fill();
    std::vector<int> TabStopUnits() const;
    void ScrollToPreselection();

    QListWidget* m_list = nullptr;
    CTabStopDelegate* m_delegate = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QPushButton* m_helpButton = nullptr;
    int m_topRow = -1;
};
