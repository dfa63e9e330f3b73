// Replace All in a text window, from the Replace dialog's button to the text in place: every
// match is found on a copy of the text, then replaced in the control as one edit that one Undo
// takes back. Target: short replacements well under the 5 s a command may take; a long one shows
// its progress and can be cancelled, so it only has to stay linear in the size of the new text.
//
// Arguments: the number of matches and the replacement's size in characters. The text is one
// line per match ("Silica 40 glaze"); the replacement of 1 character is "Q", a larger one is
// lines of 63 characters and a line break (pasted text). Each run undoes the last one, so every
// run replaces the same text; the progress window, shown from 4 million characters on, is left
// to run.
//
// "peak MB" is the process's peak resident memory after the case's runs (run one case per
// process, with --benchmark_filter, for its own peak).
//
// Figures (RelWithDebInfo, one run; 8-core machine under load), before and after the matches
// were found first and the replacing made to look at the Cancel button:
//   256,000 matches of 1 character:      1.05 s, 183 MB; 0.98 s, 188 MB
//   2,000 matches of 2,048 characters:   0.12 s,  50 MB; 0.13 s,  50 MB
//   5,000 matches of 2,048 characters:   0.32 s,  82 MB; 0.35 s,  83 MB
//   20,000 matches of 2,048 characters:  1.49 s, 241 MB; 1.53 s, 242 MB
// Time and memory grow with the new text's size (the control's lines and its undo), as they
// did: what changed is that a long one can be watched and stopped, and one too long for a text
// window is refused before anything changes.

#include "support/FindReplaceDlg.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

QString Replacement(int size)
{
    if (size <= 1)
        return QStringLiteral("Q");
    QString text;
    text.reserve(size);
    while (text.size() < size)
        text += (text.size() % 64 == 63) ? QLatin1Char('\n') : QLatin1Char('a' + text.size() % 26);
    return text;
}

void BM_ReplaceAll(benchmark::State& state)
{
    const int matches = static_cast<int>(state.range(0));
    QString text;
    text.reserve(matches * 16);
    for (int i = 0; i < matches; ++i)
        text += QStringLiteral("Silica 40 glaze\n");
    QPlainTextEdit edit;
    edit.setLineWrapMode(QPlainTextEdit::NoWrap);
    edit.setPlainText(text);
    edit.resize(600, 250);
    edit.show();
    CFindReplaceDlg dialog(&edit, true);
    dialog.FindEdit()->setText(QStringLiteral("Silica"));
    dialog.ReplaceEdit()->setText(Replacement(static_cast<int>(state.range(1))));
    int replaced = 0;
    for (auto _ : state) {
        replaced = dialog.ReplaceAll();
        state.PauseTiming();
        edit.document()->undo();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    if (replaced != matches)
        state.SkipWithError("not every match was replaced");
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_ReplaceAll)
    ->ArgNames({"matches", "size"})
    ->Args({256000, 1})
    ->Args({20000, 2048})
    ->Args({2000, 2048})
    ->Args({5000, 2048})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace
