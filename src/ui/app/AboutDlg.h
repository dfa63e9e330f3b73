#pragma once

// The About box: the program's name and version and a word on help.

#include "support/DialogStyle.h"

#include <QIcon>
#include <QPixmap>

class QLabel;
class QPushButton;

class CAboutDlg : public CStyledDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    QLabel* VersionText() const { return m_version; }
    QLabel* HelpText() const { return m_helpText; }
    QPushButton* OkayButton() const { return m_okay; }

private:
    QLabel* m_version;
    QLabel* m_helpText;
    QPushButton* m_okay;
};

// The program's icon: a glazed bowl, drawn at the size asked for.
QPixmap DrawProgramIcon(int size);
QIcon ProgramIcon();
