#pragma once

// The base of the database list views (materials, glazes, substitutions, limit formulas, graph
// templates): a view whose window is a list of text rows, one per record, in record order.
//
// Rows are tab-separated texts in the core's bytes; their fields start at tab stops given in
// dialog units, where one horizontal unit is a quarter of the average character width of the
// view's font. One stop repeats (the default: every 32 units); several stops are used in turn
// and the default spacing continues after the last. Stops follow the font when it changes.
//
// The row texts, columns, selection handling and commands belong to the derived views; this
// class offers the list operations they need (rows, selection, caret, top row, tab stops,
// horizontal extent), the printing hooks they fill with the text printer, and the mouse: a
// view that names a pop-up menu gets it from the right button and the menu key, and a left
// double click asks the view what to do.

#include "framework/View.h"
#include "support/ListView31Delegate.h"
#include "support/TextWidths.h"

#include <QListView>

#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

class CListView31Model;
class CTextPrinter;
class QContextMenuEvent;
class QMouseEvent;
class QPainter;
struct CMenuDef;

class CListView31 : public QListView, public CView {
    Q_OBJECT

public:
    static constexpr int kDefaultTabStop = 32; // dialog units

    explicit CListView31(QWidget* parent = nullptr);
    ~CListView31() override;

    // Rows. Indices outside the list are ignored (results: -1, or an empty text).
    int GetCount() const;
    int AddString(const std::string& row);                 // index of the new row
    void AddStrings(std::vector<std::string> rows);        // many rows at the end, at once
    // Many rows at the end, at once, whose texts build(row) makes when each is first needed
    // (drawn, read, searched): a long list of costly rows fills at once and builds only what is
    // seen. build gets the row's index at that time and serves every unbuilt row until the list
    // is emptied, so the view keeps its rows in step with what build reads.
    void AddRows(int count, std::function<std::string(int row)> build);
    int InsertString(int index, const std::string& row);   // index -1 appends; the new row's index
    int DeleteString(int index);                           // rows left, or -1
    // Moves a row, built or not, so that it stands at index to; false for a bad index.
    bool MoveString(int from, int to);
    std::string GetText(int index) const;
    // Empties the list; the view stays usable.
    virtual void ResetContent();

    // Selection: single (the default) or extended (Shift and Ctrl select several rows).
    void SetExtendedSelection(bool extended);
    bool HasExtendedSelection() const;
    int GetSelCount() const;
    std::vector<int> GetSelItems() const; // ascending
    bool GetSel(int index) const;
    // Selects or deselects one row, or every row for index -1; false for a bad index.
    bool SetSel(int index, bool select = true);
    void SelItemRange(bool select, int first, int last);
    // Adds these rows to the selection in one step (rows outside the list are ignored): one
    // change of the selection instead of one per row, which a long list needs.
    void SelectRows(std::span<const int> rows);
    // The selected row of a single-selection list (the caret row of an extended one), or -1.
    int GetCurSel() const;
    // Selects only this row and makes it the caret row; -1 clears the selection.
    bool SetCurSel(int index);
    int GetCaretIndex() const;
    // Moves the caret without changing the selection; scrolls unless the row is already in
    // view (partly, when partialOk).
    bool SetCaretIndex(int index, bool partialOk = true);
    int GetTopIndex() const;
    bool SetTopIndex(int index);

    // Tab stops in dialog units: one value repeats, several are used in turn.
    void SetTabStops(int dialogUnits);
    void SetTabStops(const std::vector<int>& dialogUnits);
    const std::vector<int>& GetTabStops() const { return m_tabStops; }
    // The horizontal dialog base unit (average character width of the font) and conversions.
    int DialogBaseUnitX() const;
    int DialogUnitsToPixels(int dialogUnits) const;
    int PixelsToDialogUnits(int pixels) const;
    // Widths in pixels, in the view's font, of one text and of the widest of many (the core's
    // bytes); widths measured once are kept for the next refill.
    int TextWidth(const std::string& text) const;
    int WidestText(std::span<const std::string> texts) const;
    // Where each field of a row starts, in pixels from the row's text start.
    std::vector<int> FieldPositions(int index) const;
    // The width the horizontal scroll bar covers at least (pixels).
    void SetHorizontalExtent(int pixels);
    int GetHorizontalExtent() const { return m_horizontalExtent; }

    // Printing hooks, empty here. A derived view's print commands build a print job whose fill
    // function hands the fresh text printer to OnBeginPrinting, where the view adds its lines;
    // OnPreparePrinting may refuse the job (false), OnEndPrinting sees the printer once more.
    virtual bool OnPreparePrinting();
    virtual void OnBeginPrinting(CTextPrinter& printer);
    virtual void OnPrepareDC(CTextPrinter& printer, int page);
    virtual void OnPrint(CTextPrinter& printer, int page);
    virtual void OnEndPrinting(CTextPrinter& printer);
    // The view draws nothing itself: the list draws its rows.
    virtual void OnDraw(QPainter& painter);

    // Carries out a command as a menu would: only when it is enabled.
    bool RunCommand(unsigned id);

    // For the row delegate.
    const CTabStops& TabStopsInPixels() const { return m_pixelStops; }
    int TextMargin() const { return 2; }
    int RowHeight() const;
    int ContentWidth() const;
    void NoteRowWidth(int pixels);

protected:
    // The right button's and the menu key's pop-up menu; a menu without items (the default)
    // leaves both to the list.
    virtual CMenuDef PopupMenu() const;
    // A left double click at position (viewport coordinates); false (the default) leaves it to
    // the list.
    virtual bool OnLeftDoubleClick(const QPoint& /*position*/) { return false; }

    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

    CListView31Model* Model() const { return m_model; }

private:
    bool IsRow(int index) const { return index >= 0 && index < GetCount(); }
    // The selected rows as sorted, separate runs (first, last).
    std::vector<std::pair<int, int>> SelectedRuns() const;
    void RecalcPixelStops();
    void RelayoutWidth();
    // Activates the view's window and opens the pop-up menu at position (viewport coordinates).
    void ShowContextMenu(const QPoint& position);

    CListView31Model* m_model;
    mutable CTextWidths m_textWidths;
    std::vector<int> m_tabStops;
    CTabStops m_pixelStops;
    int m_horizontalExtent = 0;
    int m_widestRow = 0;
    bool m_relayoutPending = false;
};
