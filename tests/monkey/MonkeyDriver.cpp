#include "MonkeyDriver.h"

#include "framework/Cp1252.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/MdiFrame.h"
#include "glazes/GlazeList.h"
#include "glazes/GlazesDoc.h"
#include "materials/MaterialArray.h"
#include "materials/MaterialsDoc.h"
#include "app/MainFrame.h"
#include "shell/OxidariumApp.h"
#include "support/ProgressDlg.h"
#include "tools/OptimizeDlg.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractPrintDialog>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <fstream>

#include <pthread.h>

namespace {

long long NowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The processor time spent so far on clock (a thread's), in nanoseconds.
long long SpentNs(clockid_t clock)
{
    timespec now = {};
    clock_gettime(clock, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

std::string Seconds(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3g s", seconds);
    return text;
}

std::string Describe(const QWidget* widget)
{
    if (!widget)
        return "(none)";
    std::string text = widget->metaObject()->className();
    QString caption = widget->windowTitle();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        caption = button->text();
    if (!caption.isEmpty())
        text += " \"" + caption.toStdString() + "\"";
    if (!widget->objectName().isEmpty())
        text += " #" + widget->objectName().toStdString();
    return text;
}

// Which of how many usable widgets of a window a step took: where a replay parts there, the
// journal and the run name the lists they took it from.
std::string PlaceIn(int pick, std::size_t count, const QWidget* window)
{
    return " (" + std::to_string(pick + 1) + " of " + std::to_string(count) + " in " + Describe(window) + ")";
}

// Widgets the monkey can give a value to.
bool IsField(const QWidget* widget)
{
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget) ||
           qobject_cast<const QTextEdit*>(widget) || qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget) || qobject_cast<const QCheckBox*>(widget) ||
           qobject_cast<const QAbstractItemView*>(widget) || qobject_cast<const QAbstractSlider*>(widget) ||
           qobject_cast<const QTabBar*>(widget);
}

bool Usable(const QWidget* widget)
{
    return widget && widget->isVisible() && widget->isEnabled();
}

template <class T>
std::vector<T*> UsableChildren(QWidget* container)
{
    std::vector<T*> found;
    if (!container)
        return found;
    for (T* child : container->findChildren<T*>()) {
        if (Usable(child))
            found.push_back(child);
    }
    return found;
}

// Types text key by key; characters the test library has no key for come as key events that
// carry only their text, as an input method delivers them.
void TypeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 32 && c.unicode() < 127) {
            QTest::keyClick(widget, c.toLatin1());
        } else {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &press);
            QApplication::sendEvent(widget, &release);
        }
    }
}

// Dialogs that would leave the program (a printer, the desktop): always closed unanswered.
bool MustReject(const QWidget* dialog)
{
    return qobject_cast<const QAbstractPrintDialog*>(dialog) || qobject_cast<const QFileDialog*>(dialog);
}

const char* const kTexts[] = {
    "0", "1", "2", "5", "10", "12.5", "50", "99", "100", "101", "1000", "0.001", "-1", "-0", "-12.5", "1e999",
    "x1e999", "99999999999", "3.", ".5", " 3 ", "12abc", "abc", "", "", " ", "Silica", "Kaolin", "Whiting",
    "Cone 6 Clear", "G1", "Na2O", "SiO2", "Temp 5\xC2\xB0" "C \xCE\xB1\xE2\x86\x92\xCE\xB2 \xE2\x89\xA4 3",
    "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", "\xD0\x9A\xD0\xB0\xD0\xBE\xD0\xBB\xD0\xB8\xD0\xBD", "Gl\xC3\xA4sur",
    "%s%n%d", "a|b", "key = value", "[Files]", "\"quoted\"", "C:\\temp\\x", "../x", ":x/..", "#", ";", "\t",
};

} // namespace

CMonkeyDriver::CMonkeyDriver(CMonkeyLog& log, CMonkeyJournal& journal, unsigned seed, std::string scratchDir,
                             SStepLimits limits)
    : m_log(log), m_journal(journal), m_random(seed), m_scratchDir(std::move(scratchDir)),
      m_limits(limits),
      m_previousMessages(nullptr), m_previousFileDialogs(nullptr)
{
    // The driver is made on the program's thread, which runs every step.
    if (pthread_getcpuclockid(pthread_self(), &m_programClock) != 0)
        m_programClock = CLOCK_PROCESS_CPUTIME_ID;
    for (const char* scheme : {"file", "http", "https", "mailto", "ftp"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "OpenUrl");
    QApplication::instance()->installEventFilter(this);
    m_ticker.setInterval(15);
    connect(&m_ticker, &QTimer::timeout, this, [this] { Tick(); });
    m_ticker.start();
    m_watchdog = std::thread([this] { WatchSteps(); });
}

CMonkeyDriver::~CMonkeyDriver()
{
    m_stopWatching = true;
    m_watchdog.join();
    for (const char* scheme : {"file", "http", "https", "mailto", "ftp"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
}

void CMonkeyDriver::Attach()
{
    m_exiting = false;
    m_workingSet = false;
    m_documents.clear();
    m_previousMessages = GetMessageService();
    m_previousFileDialogs = GetFileDialogService();
    SetMessageService(this);
    SetFileDialogService(this);
}

void CMonkeyDriver::Detach()
{
    SetMessageService(m_previousMessages);
    SetFileDialogService(m_previousFileDialogs);
}

bool CMonkeyDriver::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTip)
        return true;
    if (event->type() == QEvent::Show && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow() &&
        !m_appeared.contains(watched)) {
        m_appeared[watched] = ++m_windowsShown;
        connect(watched, &QObject::destroyed, this, [this](QObject* gone) { m_appeared.erase(gone); });
    }
    // The optimizer breaks ties between equal steps by a coin the clock seeds: a fixed seed keeps
    // its recipes, and the walk that follows them, the same in a replay.
    if (event->type() == QEvent::Show) {
        if (auto* optimize = dynamic_cast<COptimizeDlg*>(watched); optimize && optimize->solverSeed == 0)
            optimize->solverSeed = 1;
    }
    // How many ticks a progress dialog gets depends on the speed of the work under it: whether
    // it is cancelled is decided when it shows, and the work sees the Cancel at its first look.
    if (event->type() == QEvent::Show && !m_inTick) {
        if (auto* progress = qobject_cast<CProgressDlg*>(watched); progress && Chance(30)) {
            Detail("progress dialog \"" + progress->windowTitle().toStdString() + "\" -> Cancel");
            QPointer<CProgressDlg> guard(progress);
            Post([guard] {
                if (guard)
                    guard->reject();
            });
        } else if (progress) {
            // Long work that shows its progress is no hang: like a user, the monkey cancels
            // it when it has waited on the clock half as long as a step may spend working (a
            // busy machine makes it cancel sooner).
            QPointer<CProgressDlg> guard(progress);
            QTimer::singleShot(static_cast<int>(m_limits.processorSeconds * 500), this, [this, guard] {
                if (!guard || !guard->isVisible())
                    return;
                // By the clock: not in the journal, whose walk may part from here on.
                m_log.Detail("progress dialog \"" + guard->windowTitle().toStdString() + "\" -> Cancel, waited long");
                guard->reject();
            });
        }
    }
    return QObject::eventFilter(watched, event);
}

long long CMonkeyDriver::Appeared(const QWidget* window) const
{
    const auto found = m_appeared.find(window);
    return found == m_appeared.end() ? std::numeric_limits<long long>::max() : found->second;
}

void CMonkeyDriver::OpenUrl(const QUrl& url)
{
    Detail("desktop asked to open " + url.toString().toStdString());
}

int CMonkeyDriver::Random(int below)
{
    ++m_draws;
    return below <= 1 ? 0 : std::uniform_int_distribution<int>(0, below - 1)(m_random);
}

std::string CMonkeyDriver::RandomText()
{
    switch (Random(10)) {
    case 0:
        return std::string(static_cast<std::size_t>(200 + Random(3000)), static_cast<char>('a' + Random(26)));
    case 1:
        return std::to_string(Random(2000) - 500) + "." + std::to_string(Random(1000));
    default:
        return kTexts[Random(static_cast<int>(std::size(kTexts)))];
    }
}

std::string CMonkeyDriver::RandomName(const std::string& extension)
{
    static const char* const stems[] = {"saved", "copy", "Gl\xC3\xA4sur \xCE\xB1", "x", "long-name-of-a-database-file"};
    std::string name = stems[Random(static_cast<int>(std::size(stems)))];
    name += std::to_string(Random(6));
    if (!extension.empty() && !Chance(10))
        name += "." + extension;
    return m_scratchDir + "/" + name;
}

// --- services ------------------------------------------------------------------------------------

int CMonkeyDriver::ShowMessageBox(const std::string& text, const std::string&, unsigned type, unsigned)
{
    const std::string shown = text.substr(0, 200);
    if (text.find("internal error") != std::string::npos || text.rfind("Not enough memory", 0) == 0)
        m_log.Fail("a command failed: " + shown);
    int answer = MsgResultOk;
    switch (type & MsgButtonMask) {
    case MsgOkCancel:
        answer = Chance(60) ? MsgResultOk : MsgResultCancel;
        break;
    case MsgYesNo:
        answer = Chance(50) ? MsgResultYes : MsgResultNo;
        break;
    case MsgYesNoCancel: {
        const int pick = Random(10);
        answer = pick < 4 ? MsgResultYes : pick < 8 ? MsgResultNo : MsgResultCancel;
        break;
    }
    default:
        break;
    }
    if (m_exiting && (type & MsgButtonMask) != MsgOk)
        answer = (type & MsgButtonMask) == MsgOkCancel ? MsgResultOk : MsgResultNo;
    Detail("message box \"" + text + "\" -> " + std::to_string(answer));
    m_lastMessage = shown;
    return answer;
}

void CMonkeyDriver::ShowHelp(HelpRequest, unsigned contextId)
{
    Detail("help " + std::to_string(contextId));
}

CFileDialogResult CMonkeyDriver::AskForFiles(const CFileDialogRequest& request)
{
    CFileDialogResult result;
    const int pick = Random(10);
    if (m_exiting || pick < 2) {
        Detail("file dialog \"" + request.title + "\" -> Cancel");
        return result;
    }
    if (request.clipboardOption && pick < 3) {
        result.outcome = CFileDialogResult::Outcome::Clipboard;
        Detail("file dialog \"" + request.title + "\" -> Clipboard");
        return result;
    }
    result.outcome = CFileDialogResult::Outcome::Ok;
    if (request.mode == CFileDialogRequest::Mode::Save) {
        result.paths.push_back(RandomName(request.defaultExtension));
        ++m_saveCount;
    } else {
        // A file of the scratch folder with the asked-for extension, now and then any file.
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(m_scratchDir)) {
            const std::string extension = entry.path().extension().string();
            if (entry.is_regular_file() &&
                (Chance(10) || request.defaultExtension.empty() || extension == "." + request.defaultExtension))
                files.push_back(entry.path().string());
        }
        std::sort(files.begin(), files.end());
        if (files.empty()) {
            Detail("file dialog \"" + request.title + "\" -> Cancel (no file)");
            return CFileDialogResult{};
        }
        result.paths.push_back(files[static_cast<std::size_t>(Random(static_cast<int>(files.size())))]);
        if (request.mode == CFileDialogRequest::Mode::OpenMultiple && Chance(30))
            result.paths.push_back(files[static_cast<std::size_t>(Random(static_cast<int>(files.size())))]);
    }
    Detail("file dialog \"" + request.title + "\" -> " + result.paths.front());
    return result;
}

// --- steps ---------------------------------------------------------------------------------------

void CMonkeyDriver::OpenGlazeDatabase(const std::string& path)
{
    BeginStep("open " + path);
    if (g_pGlazesTemplate)
        g_pGlazesTemplate->OpenDocumentFile(path);
    EndStep();
}

namespace {

// The commands of the working set.
const char* const kWorkingSetCommands[] = {
    "Line Blend", "Triaxial Blend", "Square Blend", "Varrow Recipe Blend", "Open Graph", "Edit Graph Template",
    "Graph Settings", "Open Report", "Edit",
};

} // namespace

void CMonkeyDriver::OpenWorkingSet(const std::vector<std::string>& databases)
{
    m_workingSet = true;
    for (const std::string& path : databases)
        OpenGlazeDatabase(path);
    for (int round = 0; round < 2; ++round) {
        for (const char* name : kWorkingSetCommands) {
            if (Chance(30))
                ArrangeWindows();
            RunNamedCommand(name);
        }
    }
}

void CMonkeyDriver::Run(double seconds)
{
    if (m_journal.Replaying()) {
        const int tries = m_journal.RandomStepTries();
        for (int i = 0; tries < 0 ? !m_journal.AtEnd() : i < tries; ++i)
            Step();
        return;
    }
    const long long end = NowMs() + static_cast<long long>(seconds * 1000);
    int tries = 0;
    for (; NowMs() < end; ++tries)
        Step();
    m_journal.EndRandomSteps(tries);
}

void CMonkeyDriver::Step()
{
    if (m_journal.Replaying())
        CatchUpTicks();
    const int kind = Random(100);
    if (m_workingSet && Chance(5))
        RunNamedCommand(kWorkingSetCommands[Random(static_cast<int>(std::size(kWorkingSetCommands)))]);
    else if (kind < 40)
        RunMenuCommand();
    else if (kind < 48)
        OpenPopupMenu();
    else if (kind < 63)
        PressKey();
    else if (kind < 80)
        FillField();
    else if (kind < 92)
        ClickButton();
    else
        ArrangeWindows();
    CheckSavedFiles();
}

void CMonkeyDriver::BeginStep(const std::string& text)
{
    if (m_journal.Replaying())
        CatchUpTicks();
    m_log.Step(text);
    const std::string recorded = m_journal.Step(m_draws, text);
    if (!recorded.empty())
        LeftTheJournal("the journal has \"" + recorded + "\" where this run took \"" + std::to_string(m_draws) + " " +
                       text + "\"");
    m_stepStartedSpent = SpentNs(m_programClock);
    m_stepStarted = NowMs();
}

void CMonkeyDriver::Detail(const std::string& text)
{
    m_log.Detail(text);
    const std::string recorded = m_journal.Detail(m_draws, text);
    if (!recorded.empty())
        LeftTheJournal("the journal has \"" + recorded + "\" where this run has \"" + std::to_string(m_draws) + " " +
                       text + "\"");
}

void CMonkeyDriver::LeftTheJournal(const std::string& what)
{
    m_log.Fail("the replay left the recorded walk at step " + std::to_string(m_log.StepCount()) + ": " + what);
}

// The ticks the journal has before the next number is drawn: a dialog or pop-up menu that a step
// left up, driven while the recorded run settled.
void CMonkeyDriver::CatchUpTicks()
{
    long long draws = 0;
    std::string dialog;
    const long long giveUp = NowMs() + 20000;
    while (m_journal.TickPending(&draws, &dialog) && draws <= m_draws) {
        if (draws < m_draws || NowMs() > giveUp)
            LeftTheJournal("the journal drives a " + dialog + " after " + std::to_string(draws) +
                           " numbers, which this run does not show (" + std::to_string(m_draws) + " drawn)");
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

std::string CMonkeyDriver::KindsSeen() const
{
    std::string kinds;
    for (const std::string& kind : m_kindsSeen)
        kinds += (kinds.empty() ? "" : ", ") + kind;
    return kinds;
}

void CMonkeyDriver::EndStep()
{
    if (CMDIMainFrame* frame = CMDIMainFrame::Instance()) {
        for (CMDIChildFrame* window : frame->ChildFrames()) {
            if (window->widget())
                m_kindsSeen.insert(window->widget()->metaObject()->className());
        }
    }
    Settle();
    // A pop-up menu or dialog that the step left up (shown without waiting for an answer) is
    // driven now, where the walk stands, rather than by the clock during the next steps.
    for (int round = 0; round < 400 && (QApplication::activePopupWidget() || QApplication::activeModalWidget());
         ++round) {
        Tick();
        Settle();
    }
    m_log.StepTook(static_cast<double>(SpentNs(m_programClock) - m_stepStartedSpent) / 1e9,
                   static_cast<double>(NowMs() - m_stepStarted) / 1000);
    m_stepStarted = 0;
}

// Everything the step set going is done before the next one looks at the windows: events that
// post further events (a window closed, another activated and given the focus) are followed to
// the end, as far as the clock allows.
void CMonkeyDriver::Settle()
{
    for (int round = 0; round < 8; ++round) {
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

std::vector<QAction*> CMonkeyDriver::EnabledMenuCommands(QMenu* menu)
{
    std::vector<QAction*> found;
    emit menu->aboutToShow();
    for (QAction* action : menu->actions()) {
        if (action->isSeparator() || !action->isVisible())
            continue;
        if (QMenu* sub = action->menu()) {
            const std::vector<QAction*> inner = EnabledMenuCommands(sub);
            found.insert(found.end(), inner.begin(), inner.end());
        } else if (action->isEnabled() && !action->text().contains(QStringLiteral("E&xit"))) {
            found.push_back(action);
        }
    }
    emit menu->aboutToHide();
    return found;
}

QWidget* CMonkeyDriver::StepTarget()
{
    CMDIMainFrame* frame = CMDIMainFrame::Instance();
    std::vector<QWidget*> targets;
    if (frame && frame->ActiveChildFrame())
        targets.push_back(frame->ActiveChildFrame());
    // Pop-up menus and lists and tool tips come and go by themselves. The program's own list of
    // its windows has no order (a set of addresses): they are taken in the order they appeared.
    std::vector<QWidget*> windows;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = window->windowType();
        if (window != frame && window->isVisible() && type != Qt::Popup && type != Qt::ToolTip)
            windows.push_back(window);
    }
    std::sort(windows.begin(), windows.end(), [this](QWidget* a, QWidget* b) { return Appeared(a) < Appeared(b); });
    targets.insert(targets.end(), windows.begin(), windows.end());
    if (targets.empty())
        return frame;
    return targets[static_cast<std::size_t>(Random(static_cast<int>(targets.size())))];
}

std::vector<QAction*> CMonkeyDriver::EnabledCommands()
{
    std::vector<QAction*> commands;
    CMDIMainFrame* frame = CMDIMainFrame::Instance();
    if (!frame)
        return commands;
    for (QAction* top : frame->menuBar()->actions()) {
        if (QMenu* menu = top->menu()) {
            const std::vector<QAction*> inner = EnabledMenuCommands(menu);
            commands.insert(commands.end(), inner.begin(), inner.end());
        }
    }
    return commands;
}

bool CMonkeyDriver::RunNamedCommand(const std::string& name)
{
    std::vector<QAction*> named;
    for (QAction* action : EnabledCommands()) {
        if (action->text().remove(QLatin1Char('&')).contains(QString::fromStdString(name)))
            named.push_back(action);
    }
    if (named.empty())
        return false;
    QAction* action = named[static_cast<std::size_t>(Random(static_cast<int>(named.size())))];
    BeginStep("menu " + action->text().toStdString());
    action->trigger();
    EndStep();
    return true;
}

void CMonkeyDriver::RunMenuCommand()
{
    const std::vector<QAction*> commands = EnabledCommands();
    if (commands.empty())
        return;
    QAction* action = commands[static_cast<std::size_t>(Random(static_cast<int>(commands.size())))];
    BeginStep("menu " + action->text().toStdString());
    action->trigger();
    EndStep();
}

void CMonkeyDriver::OpenPopupMenu()
{
    QWidget* target = StepTarget();
    std::vector<QWidget*> places = UsableChildren<QWidget>(target);
    if (target)
        places.push_back(target);
    const int pick = Random(static_cast<int>(places.size()));
    QWidget* place = places[static_cast<std::size_t>(pick)];
    BeginStep("pop-up menu on " + Describe(place) + PlaceIn(pick, places.size(), target));
    const QPoint at(Random(std::max(place->width(), 1)), Random(std::max(place->height(), 1)));
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, place->mapToGlobal(at));
    QApplication::sendEvent(place, &event);
    EndStep();
}

void CMonkeyDriver::PressKey()
{
    static const std::pair<int, Qt::KeyboardModifiers> keys[] = {
        {Qt::Key_Delete, {}}, {Qt::Key_Insert, {}}, {Qt::Key_Return, {}}, {Qt::Key_Escape, {}},
        {Qt::Key_Tab, {}}, {Qt::Key_Up, {}}, {Qt::Key_Down, {}}, {Qt::Key_PageUp, {}},
        {Qt::Key_PageDown, {}}, {Qt::Key_Home, {}}, {Qt::Key_End, {}}, {Qt::Key_F1, {}},
        {Qt::Key_F2, {}}, {Qt::Key_F3, {}}, {Qt::Key_F5, {}}, {Qt::Key_F6, {}}, {Qt::Key_F9, {}},
        {Qt::Key_A, Qt::ControlModifier}, {Qt::Key_C, Qt::ControlModifier}, {Qt::Key_V, Qt::ControlModifier},
        {Qt::Key_X, Qt::ControlModifier}, {Qt::Key_Z, Qt::ControlModifier}, {Qt::Key_S, Qt::ControlModifier},
        {Qt::Key_N, Qt::ControlModifier}, {Qt::Key_F, Qt::ControlModifier}, {Qt::Key_G, Qt::ControlModifier},
        {Qt::Key_D, Qt::ControlModifier}, {Qt::Key_E, Qt::ControlModifier}, {Qt::Key_R, Qt::ControlModifier},
        {Qt::Key_T, Qt::ControlModifier}, {Qt::Key_I, Qt::ControlModifier}, {Qt::Key_J, Qt::ControlModifier},
        {Qt::Key_PageDown, Qt::ControlModifier}, {Qt::Key_PageUp, Qt::ControlModifier},
        {Qt::Key_Tab, Qt::ControlModifier}, {Qt::Key_F4, Qt::ControlModifier}, {Qt::Key_F6, Qt::ControlModifier},
        {Qt::Key_Delete, Qt::ShiftModifier}, {Qt::Key_Insert, Qt::ShiftModifier}, {Qt::Key_F1, Qt::ShiftModifier},
        {Qt::Key_1, {}}, {Qt::Key_Period, {}}, {Qt::Key_Space, {}}, {Qt::Key_Backspace, {}},
    };
    QWidget* target = QApplication::focusWidget();
    std::string place;
    if (!target || Chance(30)) {
        QWidget* window = StepTarget();
        const std::vector<QWidget*> places = UsableChildren<QWidget>(window);
        if (!places.empty()) {
            const int pick = Random(static_cast<int>(places.size()));
            target = places[static_cast<std::size_t>(pick)];
            place = PlaceIn(pick, places.size(), window);
        }
    }
    if (!target)
        return;
    const auto& [key, modifiers] = keys[Random(static_cast<int>(std::size(keys)))];
    BeginStep("key " + QKeySequence(key | modifiers).toString().toStdString() + " on " + Describe(target) + place);
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    EndStep();
}

void CMonkeyDriver::FillField()
{
    QWidget* target = StepTarget();
    BeginStep("fill a field of " + Describe(target));
    FillRandomField(target);
    EndStep();
}

bool CMonkeyDriver::FillRandomField(QWidget* container)
{
    std::vector<QWidget*> fields;
    for (QWidget* child : UsableChildren<QWidget>(container)) {
        if (IsField(child))
            fields.push_back(child);
    }
    if (fields.empty())
        return false;
    const int pick = Random(static_cast<int>(fields.size()));
    FillWidget(fields[static_cast<std::size_t>(pick)],
               " (field " + std::to_string(pick + 1) + " of " + std::to_string(fields.size()) + ")");
    return true;
}

void CMonkeyDriver::FillWidget(QWidget* field, const std::string& which)
{
    const std::string text = RandomText();
    const QString value = QString::fromUtf8(text.c_str());
    Detail(Describe(field) + which + " <- \"" + text.substr(0, 60) + (text.size() > 60 ? "...\"" : "\""));
    field->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        edit->selectAll();
        if (value.size() > 40)
            edit->insert(value);
        else if (value.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        else
            TypeText(edit, value);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(field)) {
        if (Chance(50))
            plain->selectAll();
        plain->insertPlainText(value + (Chance(50) ? QStringLiteral("\n") : QString()));
    } else if (auto* rich = qobject_cast<QTextEdit*>(field)) {
        rich->insertPlainText(value);
    } else if (auto* combo = qobject_cast<QComboBox*>(field)) {
        if (combo->isEditable() && Chance(40)) {
            combo->lineEdit()->selectAll();
            TypeText(combo->lineEdit(), value.left(40));
        } else {
            for (int i = Random(6); i >= 0; --i)
                QTest::keyClick(combo, Chance(70) ? Qt::Key_Down : Qt::Key_Up);
        }
    } else if (auto* spin = qobject_cast<QAbstractSpinBox*>(field)) {
        spin->selectAll();
        TypeText(spin, value.left(20));
    } else if (auto* check = qobject_cast<QCheckBox*>(field)) {
        check->click();
    } else if (auto* list = qobject_cast<QAbstractItemView*>(field)) {
        QAbstractItemModel* model = list->model();
        const int rows = model ? model->rowCount(list->rootIndex()) : 0;
        if (rows > 0) {
            const QModelIndex index = model->index(Random(rows), 0, list->rootIndex());
            list->scrollTo(index);
            const QPoint at = list->visualRect(index).center();
            if (Chance(25))
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            else
                QTest::mouseClick(list->viewport(), Qt::LeftButton,
                                  Chance(20) ? Qt::ControlModifier : Qt::KeyboardModifiers(), at);
        }
    } else if (auto* slider = qobject_cast<QAbstractSlider*>(field)) {
        slider->setValue(slider->minimum() + Random(std::max(slider->maximum() - slider->minimum() + 1, 1)));
    } else if (auto* tabs = qobject_cast<QTabBar*>(field)) {
        tabs->setCurrentIndex(Random(tabs->count()));
    }
    if (Chance(40) && field)
        QTest::keyClick(field, Chance(50) ? Qt::Key_Tab : Qt::Key_Return);
}

void CMonkeyDriver::ClickButton()
{
    QWidget* target = StepTarget();
    const std::vector<QAbstractButton*> buttons = UsableChildren<QAbstractButton>(target);
    if (buttons.empty())
        return;
    QAbstractButton* button = buttons[static_cast<std::size_t>(Random(static_cast<int>(buttons.size())))];
    BeginStep("click " + Describe(button) + " in " + Describe(target));
    button->click();
    EndStep();
}

void CMonkeyDriver::ArrangeWindows()
{
    CMDIMainFrame* frame = CMDIMainFrame::Instance();
    if (!frame)
        return;
    const std::vector<CMDIChildFrame*> windows = frame->ChildFrames();
    if (windows.empty())
        return;
    CMDIChildFrame* window = windows[static_cast<std::size_t>(Random(static_cast<int>(windows.size())))];
    const int pick = Random(6);
    static const char* const kinds[] = {"activate", "close", "minimize", "maximize", "restore", "resize"};
    BeginStep(std::string(kinds[pick]) + " window " + Describe(window));
    switch (pick) {
    case 0: frame->MdiArea()->setActiveSubWindow(window); break;
    case 1: window->close(); break;
    case 2: window->showMinimized(); break;
    case 3: window->showMaximized(); break;
    case 4: window->showNormal(); break;
    default: {
        // As with the mouse: a minimised window has no edges to drag.
        const int width = 50 + Random(900);
        const int height = 50 + Random(700);
        if (!window->isMinimized())
            window->resize(width, height);
        break;
    }
    }
    EndStep();
}

// --- dialogs -------------------------------------------------------------------------------------

void CMonkeyDriver::Tick()
{
    if (m_inTick || m_settlingTick || m_actionPending)
        return;
    // A progress dialog is left to the work under it (and to eventFilter).
    const auto up = [] {
        QWidget* modal = QApplication::activeModalWidget();
        return QApplication::activePopupWidget() || (modal && !qobject_cast<CProgressDlg*>(modal));
    };
    if (!up())
        return;
    // The timer fires by the clock: when it was due during the step, it fires before the events
    // that bring the dialog or menu up have all been delivered (its window's activation, the
    // focus, the layout). What the tick sees must not depend on that: it looks only once they
    // have been.
    m_settlingTick = true;
    Settle();
    m_settlingTick = false;
    if (m_actionPending || !up())
        return;
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QWidget* modal = popup ? nullptr : QApplication::activeModalWidget();
    if (!popup && (!modal || qobject_cast<CProgressDlg*>(modal)))
        return;
    const QWidget* target = popup ? static_cast<QWidget*>(popup) : modal;
    const std::string className = target->metaObject()->className();
    if (!m_journal.Tick(m_draws, className)) {
        // A replay: the journal's tick comes later in the walk, or the walk left the journal.
        long long draws = 0;
        std::string next;
        const bool pending = m_journal.TickPending(&draws, &next);
        if (pending && draws <= m_draws)
            LeftTheJournal("the journal drives a " + next + " after " + std::to_string(draws) +
                           " numbers where this run has a " + className + " after " + std::to_string(m_draws));
        // While the dialog or menu waits for its tick nothing else draws numbers: when the
        // journal's next tick needs more than have been drawn, or the journal has none, the
        // walk has parted from it (a detail before drew fewer numbers than the recorded one).
        if (m_draws != m_unmatchedAt) {
            m_unmatchedAt = m_draws;
            m_unmatchedTicks = 0;
        }
        if (++m_unmatchedTicks > 150)
            LeftTheJournal(pending ? "the journal drives a " + next + " after " + std::to_string(draws) +
                                         " numbers; this run's " + className + " waits for it with " +
                                         std::to_string(m_draws) + " drawn"
                                   : "a " + className + " is up that the journal does not drive");
        return;
    }
    m_unmatchedTicks = 0;
    m_inTick = true;
    if (popup)
        DrivePopup(popup);
    else
        DriveModal(modal);
    m_inTick = false;
}

void CMonkeyDriver::Post(std::function<void()> action)
{
    m_actionPending = true;
    QTimer::singleShot(0, this, [this, action = std::move(action)] {
        m_actionPending = false;
        action();
    });
}

void CMonkeyDriver::DrivePopup(QMenu* menu)
{
    std::vector<QAction*> entries;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator() && action->isVisible() && action->isEnabled() && !action->menu())
            entries.push_back(action);
    }
    if (entries.empty() || Chance(25)) {
        Detail("pop-up menu closed");
        menu->close();
        return;
    }
    QAction* action = entries[static_cast<std::size_t>(Random(static_cast<int>(entries.size())))];
    Detail("pop-up entry " + action->text().toStdString());
    const QPoint at = menu->actionGeometry(action).center();
    QPointer<QMenu> guard(menu);
    Post([guard, at] {
        if (guard)
            QTest::mouseClick(guard, Qt::LeftButton, {}, at);
    });
}

void CMonkeyDriver::ClickLater(QAbstractButton* button)
{
    QPointer<QAbstractButton> guard(button);
    Post([guard] {
        if (guard)
            guard->click();
    });
}

void CMonkeyDriver::DriveModal(QWidget* modal)
{
    DialogState& state = m_dialogs[modal];
    if (state.ticks == 0) {
        m_kindsSeen.insert(modal->metaObject()->className());
        state.fills = Random(5);
        Detail("dialog " + Describe(modal));
        connect(modal, &QObject::destroyed, this, [this, modal] { m_dialogs.erase(modal); });
    }
    ++state.ticks;
    if (state.ticks % 3 != 0)
        return; // let the dialog settle between inputs
    QPointer<QWidget> guard(modal);
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        const QList<QAbstractButton*> buttons = box->buttons();
        if (!buttons.isEmpty()) {
            QAbstractButton* button = buttons[Random(static_cast<int>(buttons.size()))];
            Detail("box \"" + box->text().toStdString() + "\" -> " + button->text().toStdString());
            ClickLater(button);
            return;
        }
    }
    if (state.fills > 0 && !MustReject(modal) && state.ticks < 60) {
        --state.fills;
        Post([this, guard] {
            if (guard)
                FillRandomField(guard);
        });
        return;
    }
    EndDialog(modal, state);
}

void CMonkeyDriver::EndDialog(QWidget* dialog, DialogState& state)
{
    QPointer<QWidget> guard(dialog);
    auto* asDialog = qobject_cast<QDialog*>(dialog);
    if (state.ticks > 150) {
        Detail("dialog does not close: hidden");
        dialog->hide();
        return;
    }
    const int pick = MustReject(dialog) || state.ticks > 60 ? 99 : Random(100);
    if (pick < 55) {
        // OK: the dialog's default or accepting button.
        QPushButton* chosen = nullptr;
        for (QPushButton* button : UsableChildren<QPushButton>(dialog)) {
            if (button->isDefault() || button->text().remove('&') == QStringLiteral("OK"))
                chosen = button;
        }
        if (auto* box = dialog->findChild<QDialogButtonBox*>(); box && !chosen)
            chosen = qobject_cast<QPushButton*>(box->button(QDialogButtonBox::Ok));
        if (chosen && Usable(chosen)) {
            Detail("dialog OK " + Describe(chosen));
            ClickLater(chosen);
            return;
        }
    }
    if (pick < 80) {
        const std::vector<QPushButton*> buttons = UsableChildren<QPushButton>(dialog);
        if (!buttons.empty()) {
            QPushButton* button = buttons[static_cast<std::size_t>(Random(static_cast<int>(buttons.size())))];
            Detail("dialog button " + Describe(button));
            ClickLater(button);
            return;
        }
    }
    Detail("dialog rejected");
    Post([guard, asDialog] {
        if (!guard)
            return;
        if (asDialog)
            asDialog->reject();
        else
            guard->close();
    });
}

// --- exit and checks -----------------------------------------------------------------------------

void CMonkeyDriver::Exit(CMainFrame& frame)
{
    for (int attempt = 0; attempt < 8 && frame.isVisible(); ++attempt) {
        m_exiting = attempt >= 3;
        QAction* exitAction = nullptr;
        for (QAction* top : frame.menuBar()->actions()) {
            if (QMenu* menu = top->menu()) {
                for (QAction* action : menu->actions()) {
                    if (action->text().contains(QStringLiteral("E&xit")))
                        exitAction = action;
                }
            }
        }
        if (attempt >= 4)
            MendRefusedField(frame, attempt - 4);
        BeginStep("File > Exit");
        if (exitAction)
            exitAction->trigger();
        else
            m_log.Fail("File > Exit is missing from the menu bar");
        EndStep();
        CheckSavedFiles();
    }
    if (frame.isVisible())
        m_log.Fail("File > Exit did not end the program: " + RefusedField(frame));
}

// Which field of which window stopped Exit: the one a refusal gave the keyboard back to, with
// what it holds, and what the program said last.
std::string CMonkeyDriver::RefusedField(CMainFrame& frame) const
{
    const QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : frame.focusWidget();
    std::string text = "no field has the keyboard";
    if (focus) {
        // The document window or dialog the field stands in.
        const QWidget* window = focus;
        while (window->parentWidget() && !window->isWindow() && !qobject_cast<const QMdiSubWindow*>(window))
            window = window->parentWidget();
        QString holds;
        if (const auto* edit = qobject_cast<const QLineEdit*>(focus))
            holds = edit->text();
        else if (const auto* plain = qobject_cast<const QPlainTextEdit*>(focus))
            holds = plain->textCursor().hasSelection() ? plain->textCursor().selectedText() : plain->toPlainText();
        else if (const auto* rich = qobject_cast<const QTextEdit*>(focus))
            holds = rich->textCursor().hasSelection() ? rich->textCursor().selectedText() : rich->toPlainText();
        holds = holds.left(60).replace(QChar::ParagraphSeparator, QLatin1Char(' '));
        holds.replace(QLatin1Char('\n'), QLatin1Char(' '));
        text = "the field " + Describe(focus) + " of " + Describe(window) + " refused \"" + holds.toStdString() +
               "\" and keeps the keyboard";
    }
    if (!m_lastMessage.empty())
        text += "; the program said last: \"" + m_lastMessage + "\"";
    return text;
}

// A field that refuses what it holds stops Exit and keeps the focus, as it should: the user
// mends it. The monkey does what a user would: takes out the refused line of a recipe or set
// (it is selected), and at the next refusal empties the box (a paste of many lines refuses them
// one by one), or empties a number field, then tries 0 and 1 for fields that must hold one.
void CMonkeyDriver::MendRefusedField(CMainFrame& frame, int tries)
{
    // The refusal puts the focus back in the field; the main window may not be the active one.
    QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : frame.focusWidget();
    if (!focus)
        return;
    BeginStep("mend the refused field " + Describe(focus));
    const auto takeOutRefusedLine = [tries](auto* box) {
        QTextCursor cursor = box->textCursor();
        if (cursor.hasSelection() && tries == 0)
            cursor.removeSelectedText();
        else
            box->clear();
    };
    if (auto* edit = qobject_cast<QLineEdit*>(focus)) {
        const char* texts[] = {"", "0", "1"};
        edit->setText(QString::fromLatin1(texts[tries % 3]));
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(focus)) {
        takeOutRefusedLine(plain);
    } else if (auto* rich = qobject_cast<QTextEdit*>(focus)) {
        takeOutRefusedLine(rich);
    }
    EndStep();
}

// A file that a save just wrote (its document was modified, or had another path, at the last
// check and is now unmodified) opens again with the document's record count. A file that
// another document also has open is left out: which of the two wrote it last is not known.
void CMonkeyDriver::CheckSavedFiles()
{
    std::map<std::string, int> documentsOnPath;
    if (g_pApp) {
        for (CDocTemplate* docTemplate : g_pApp->m_docManager.GetTemplates()) {
            for (CDocument* document : docTemplate->GetDocuments())
                ++documentsOnPath[document->GetPathName()];
        }
    }
    for (auto it = m_documents.begin(); it != m_documents.end();)
        it = CDocument::IsLive(it->first) ? std::next(it) : m_documents.erase(it);

    const auto check = [&](CDocument* document, int count, auto read) {
        const std::string& path = document->GetPathName();
        DocumentState& last = m_documents[document];
        const bool saved = !document->IsModified() && (last.modified || last.path != path);
        last = {path, document->IsModified()};
        if (!saved || path.rfind(m_scratchDir, 0) != 0 || documentsOnPath[path] != 1)
            return;
        const int reread = read(path);
        if (reread != count)
            m_log.Fail(path + " holds " + std::to_string(reread) + " records after a save, its document " +
                       std::to_string(count));
    };
    if (g_pGlazesTemplate) {
        for (CDocument* document : g_pGlazesTemplate->GetDocuments()) {
            auto* glazes = dynamic_cast<CGlazesDoc*>(document);
            if (!glazes)
                continue;
            check(glazes, glazes->GetGlazeCount(), [this](const std::string& path) {
                CGlazeList list;
                std::ifstream in(path, std::ios::binary);
                if (list.ReadFile(in) == 0)
                    return list.GetCount();
                Detail("reading " + path + " again: " + list.m_errorText);
                return -1;
            });
        }
    }
    if (g_pMaterialsDoc) {
        check(g_pMaterialsDoc, g_pMaterialsDoc->Materials().GetCount(), [this](const std::string& path) {
            CMaterialArray materials;
            std::ifstream in(path, std::ios::binary);
            if (materials.Read(in) == 0)
                return materials.GetCount();
            Detail("reading " + path + " again: " + materials.m_errorText);
            return -1;
        });
    }
}

void CMonkeyDriver::WatchSteps()
{
    while (!m_stopWatching) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const long long started = m_stepStarted;
        if (started == 0)
            continue;
        const double spent = static_cast<double>(SpentNs(m_programClock) - m_stepStartedSpent) / 1e9;
        const double lasted = static_cast<double>(NowMs() - started) / 1000;
        if (spent > m_limits.processorSeconds)
            m_log.FailFromWatchdog(("a step spent more than " + Seconds(m_limits.processorSeconds) +
                                    " of processor time (" + Seconds(lasted) + " on the clock)")
                                       .c_str());
        if (lasted > m_limits.clockSeconds)
            m_log.FailFromWatchdog(("a step did not end within " + Seconds(m_limits.clockSeconds) + " (" +
                                    Seconds(spent) + " of processor time spent)")
                                       .c_str());
    }
}
