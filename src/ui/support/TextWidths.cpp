#include "support/TextWidths.h"

#include "framework/Cp1252.h"

#include <QFontMetrics>

#include <algorithm>
#include <thread>
#include <vector>

namespace {

// Kept widths beyond this many times a request's texts (and a floor) are dropped first.
constexpr std::size_t kKeepFactor = 4;
constexpr std::size_t kKeepFloor = 10000;
constexpr unsigned kMaxThreads = 8;

// Measures texts into widths with a font made from description on the calling thread, so that
// no font object is shared between threads.
void MeasureRange(const QString& description, std::span<const std::string* const> texts, std::span<int> widths)
{
    QFont font;
    font.fromString(description);
    const QFontMetrics metrics(font);
    for (std::size_t i = 0; i < texts.size(); ++i)
        widths[i] = metrics.horizontalAdvance(FromCp1252(*texts[i]));
}

} // namespace

CTextWidths::CTextWidths(const QFont& font) : m_font(font)
{
}

void CTextWidths::SetFont(const QFont& font)
{
    if (font == m_font && font.toString() == m_font.toString())
        return;
    m_font = font;
    m_widths.clear();
}

int CTextWidths::Width(const std::string& text)
{
    if (const auto found = m_widths.find(text); found != m_widths.end())
        return found->second;
    const int width = QFontMetrics(m_font).horizontalAdvance(FromCp1252(text));
    m_widths.emplace(text, width);
    return width;
}

int CTextWidths::Widest(std::span<const std::string> texts)
{
    if (m_widths.size() > kKeepFactor * texts.size() + kKeepFloor)
        m_widths.clear();
    MeasureNew(texts);
    int widest = 0;
    for (const std::string& text : texts)
        widest = std::max(widest, m_widths.find(text)->second);
    return widest;
}

void CTextWidths::MeasureNew(std::span<const std::string> texts)
{
    std::vector<const std::string*> fresh;
    for (const std::string& text : texts) {
        // A placeholder marks the text as taken, so that repeats are measured once.
        const auto [entry, added] = m_widths.emplace(text, 0);
        if (added)
            fresh.push_back(&entry->first);
    }
    std::vector<int> widths(fresh.size());
    const unsigned threads = fresh.size() < kParallelFrom
                                 ? 1u
                                 : std::clamp(std::thread::hardware_concurrency(), 1u, kMaxThreads);
    if (threads == 1) {
        const QFontMetrics metrics(m_font);
        for (std::size_t i = 0; i < fresh.size(); ++i)
            widths[i] = metrics.horizontalAdvance(FromCp1252(*fresh[i]));
    } else {
        const QString description = m_font.toString();
        const std::size_t share = (fresh.size() + threads - 1) / threads;
        std::vector<std::thread> workers;
        for (std::size_t first = 0; first < fresh.size(); first += share) {
            const std::size_t count = std::min(share, fresh.size() - first);
            workers.emplace_back(MeasureRange, description, std::span<const std::string* const>(fresh).subspan(first, count),
                                 std::span<int>(widths).subspan(first, count));
        }
        for (std::thread& worker : workers)
            worker.join();
    }
    for (std::size_t i = 0; i < fresh.size(); ++i)
        m_widths[*fresh[i]] = widths[i];
}
