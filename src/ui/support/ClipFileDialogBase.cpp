#include "support/ClipFileDialogBase.h"

#include "framework/Cp1252.h"
#include "framework/FileDialogService.h"
#include "shell/OxidariumApp.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>

#include <set>

namespace {

// "*.glz" -> "*.[gG][lL][zZ]"; "*.*" -> "*" (every file, also those without a point).
QString QtPattern(const QString& pattern)
{
    if (pattern == QStringLiteral("*.*"))
        return QStringLiteral("*");
    QString result;
    for (const QChar c : pattern) {
        if (c.unicode() < 128 && c.isLetter())
            result += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
        else
            result += c;
    }
    return result;
}

QString QtPatternList(const std::string& patterns)
{
    QStringList converted;
    for (const QString& pattern : FromCp1252(patterns).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString trimmed = pattern.trimmed();
        if (!trimmed.isEmpty())
            converted << QtPattern(trimmed);
    }
    return converted.join(QLatin1Char(' '));
}

} // namespace

QStringList FileFilterDescriptions(const std::string& filter)
{
    QStringList descriptions;
    for (const auto& pair : SplitFileFilter(filter))
        descriptions << FromCp1252(pair.first);
    return descriptions;
}

QStringList ToQtNameFilters(const std::string& filter)
{
    // Qt reads a filter's patterns from its last parentheses; with the details hidden it shows
    // the text before them, which is the description exactly as given.
    QStringList filters;
    for (const auto& [description, patterns] : SplitFileFilter(filter))
        filters << FromCp1252(description) + QStringLiteral(" (") + QtPatternList(patterns) + QLatin1Char(')');
    return filters;
}

bool CClipFileDialogBase::ClipboardHoldsText()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    return data && data->hasText() && !data->text().isEmpty();
}

CClipFileDialogBase::CClipFileDialogBase(bool save, const std::string& defaultExtension,
                                         const std::string& fileName, unsigned flags, const std::string& filter,
                                         QWidget* parent, unsigned helpIdArg, bool offerClipboard)
    : QFileDialog(parent), helpId(helpIdArg), useClipboard(offerClipboard), m_flags(flags), m_save(save),
      m_nameFilters(ToQtNameFilters(filter)), m_descriptions(FileFilterDescriptions(filter))
{
    setOption(QFileDialog::DontUseNativeDialog, true);
    setOption(QFileDialog::HideNameFilterDetails, true);
    setOption(QFileDialog::DontConfirmOverwrite, !save || (flags & FileDlgOverwritePrompt) == 0);
    setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    setDirectory(QDir::currentPath());
    if (!defaultExtension.empty())
        setDefaultSuffix(QString::fromLocal8Bit(defaultExtension));
    if (!m_nameFilters.isEmpty())
        setNameFilters(m_nameFilters);
    if (!fileName.empty())
        selectFile(QString::fromLocal8Bit(fileName));
    AddButtonStrip();
    // A shortcut, not a key handler: the file name field takes every key it is given.
    auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, this, &CClipFileDialogBase::OnHelp);
}

void CClipFileDialogBase::AddButtonStrip()
{
    auto* strip = new QHBoxLayout;
    strip->addStretch(1);
    m_helpButton = new QPushButton(QStringLiteral("&Help"), this);
    m_clipboardButton = new QPushButton(QStringLiteral("Clipboard"), this);
    m_helpButton->setAutoDefault(false);
    m_clipboardButton->setAutoDefault(false);
    m_clipboardButton->hide();
    strip->addWidget(m_helpButton);
    strip->addWidget(m_clipboardButton);
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addLayout(strip, grid->rowCount(), 0, 1, grid->columnCount());
    else if (layout())
        layout()->addItem(strip);
    else
        delete strip;
    connect(m_clipboardButton, &QPushButton::clicked, this, &CClipFileDialogBase::OnClipboard);
    connect(m_helpButton, &QPushButton::clicked, this, &CClipFileDialogBase::OnHelp);
}

void CClipFileDialogBase::SetTitle(const std::string& title)
{
    if (!title.empty())
        setWindowTitle(FromCp1252(title));
}

int CClipFileDialogBase::DoModal()
{
    return exec();
}

int CClipFileDialogBase::GetFilterIndex() const
{
    // With the details hidden, Qt may answer the description shown rather than the filter.
    const QString selected = selectedNameFilter();
    for (qsizetype i = 0; i < m_nameFilters.size(); ++i) {
        if (selected == m_nameFilters[i] || selected == m_descriptions[i])
            return static_cast<int>(i) + 1;
    }
    return 1;
}

void CClipFileDialogBase::SetFilterIndex(int index)
{
    if (index >= 1 && index <= m_nameFilters.size())
        selectNameFilter(m_nameFilters[index - 1]);
}

void CClipFileDialogBase::setVisible(bool visible)
{
    // The button is offered once, as the dialog first appears (before its layout is made);
    // from then on useClipboard records whether the user chose it.
    if (visible && !m_initialized) {
        m_initialized = true;
        m_clipboardButton->setVisible(useClipboard);
        useClipboard = false;
    }
    QFileDialog::setVisible(visible);
}

void CClipFileDialogBase::OnClipboard()
{
    useClipboard = true;
    EndWithClipboard();
}

void CClipFileDialogBase::OnHelp()
{
    if (g_pApp)
        g_pApp->ShowHelp(helpId);
}

bool CClipFileDialogBase::MissingFolderRefused()
{
    if ((m_flags & (FileDlgPathMustExist | FileDlgFileMustExist)) == 0)
        return false;
    for (const QString& path : selectedFiles()) {
        const QFileInfo info(path);
        if (info.isDir() || QFileInfo(info.absolutePath()).isDir())
            continue;
        QMessageBox::warning(this, windowTitle(),
                             QDir::toNativeSeparators(path) + QStringLiteral("\nThe folder does not exist."));
        return true;
    }
    return false;
}

void CClipFileDialogBase::accept()
{
    if (MissingFolderRefused())
        return;
    QFileDialog::accept();
}

std::vector<std::string> CClipFileDialogBase::ChosenPaths() const
{
    std::vector<std::string> paths;
    if (useClipboard || result() != QDialog::Accepted)
        return paths;
    std::set<QString> seen;
    for (const QString& path : selectedFiles()) {
        QString full = QFileInfo(path).absoluteFilePath();
        if (m_save && !defaultSuffix().isEmpty() && !QFileInfo(full).fileName().contains(QLatin1Char('.')))
            full += QLatin1Char('.') + defaultSuffix();
        if (seen.insert(full).second)
            paths.push_back(full.toLocal8Bit().toStdString());
    }
    return paths;
}
