#pragma once

// Picks the records of another database file to merge into the open one. The caller gives the
// source file's name, the plural record word, the source records' names and, per name, whether
// it already exists in the open database (flag 1); existing names are marked "*". After OK the
// flags say which rows were selected (1) or not (0), method says how to merge (0 append all,
// 1 append new and replace existing) and sortAfterMerge whether to sort afterwards.

#include "support/DialogStyle.h"
#include "support/StringArrayEx.h"

#include <string>
#include <vector>

class CTabStopDelegate;
class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

class CMergeDlg : public CStyledDialog {
    Q_OBJECT

public:
    explicit CMergeDlg(QWidget* parent = nullptr, unsigned helpId = 0);

    std::string sourceName;  // the file merged from
    std::string kindWord;    // "substitutions", "materials", ...
    CStringArrayEx names;    // the source records' names
    // On entry 1 for each name that exists in the open database; after OK 1 for each selected
    // row and 0 for the others (one flag per name; missing entries count as 0).
    std::vector<int> flags;
    int method = 0;
    int sortAfterMerge = 0;
    int showSortOption = 1;  // 0 hides "Sort after merge"
    int rowCount = 0;        // rows shown

    QLabel* PromptLabel() const { return m_prompt; }
    QListWidget* List() const { return m_list; }
    QPushButton* SelectAllButton() const { return m_selectAll; }
    QPushButton* DeselectAllButton() const { return m_deselectAll; }
    QPushButton* SelectExistingButton() const { return m_selectExisting; }
    QPushButton* SelectNewButton() const { return m_selectNew; }
    QRadioButton* AppendAllRadio() const { return m_appendAll; }
    QRadioButton* ReplaceExistingRadio() const { return m_replaceExisting; }
    QCheckBox* SortCheck() const { return m_sort; }
    QPushButton* OkButton() const { return m_okButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }
    QPushButton* HelpButton() const { return m_helpButton; }

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void CreateControls();
    void Fill();
    int EntryFlag(int row) const;
    // Selects exactly the rows whose entry flag equals flag.
    void SelectByFlag(int flag);

    QLabel* m_prompt = nullptr;
    QListWidget* m_list = nullptr;
    CTabStopDelegate* m_delegate = nullptr;
    QPushButton* m_selectAll = nullptr;
    QPushButton* m_deselectAll = nullptr;
    QPushButton* m_selectExisting = nullptr;
    QPushButton* m_selectNew = nullptr;
    QRadioButton* m_appendAll = nullptr;
    QRadioButton* m_replaceExisting = nullptr;
    QCheckBox* m_sort = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QPushButton* m_helpButton = nullptr;
    std::vector<int> m_entryFlags;
};
