#pragma once

// The program's print preview: the pages of a printout as the printer will print them, at the
// printer's paper size and margins (the program's printer set-up, see PrintSetup.h), scaled to
// the window, one page or two side by side, with zooming. The printout is laid out once when the
// preview opens, and a page is drawn only when it is shown: a printout of thousands of pages
// opens as fast as one of a single page.
//
// The window takes the main window's size, at least 640 x 560, and stands whole on the screen.
// Print... closes the preview and asks its caller to print as the Print command does; Next
// Page, Prev Page, Page Up, Page Down and the mouse wheel step one page; the status line names
// the pages shown and the page count.

#include <QDialog>

#include <memory>

class QLabel;
class QPaintDevice;
class QPainter;
class QPrinter;
class QPushButton;
class QRectF;
class QScrollArea;
class CPreviewPagesWidget;

// What a preview shows: the pages of one printout.
class CPreviewContent {
public:
    virtual ~CPreviewContent() = default;
    // Lays the printout out for device (a printer: its printable area, in its pixels) and returns
    // the number of pages.
    virtual int LayOut(QPaintDevice& device) = 0;
    // Draws page (1-based) with painter, in pixels of the device it was laid out for, from the
    // top left of that device's printable area.
    virtual void DrawPage(QPainter& painter, int page) = 0;
};

class CPrintPreviewDlg : public QDialog {
    Q_OBJECT
public:
    // What exec() returns when the user chose Print...
    static constexpr int PrintRequested = 2;
    static constexpr int kMaxZoom = 2;

    // Lays content out for printer, which must outlive the dialog.
    CPrintPreviewDlg(QPrinter& printer, CPreviewContent& content, QWidget* parent = nullptr);
    ~CPrintPreviewDlg() override;

    QPrinter* printer() const { return &m_printer; }
    int PageCount() const { return m_pageCount; }
    int FirstShownPage() const { return m_firstPage; }
    // 1, or 2 side by side (two-page view, not zoomed, at least two pages).
    int ShownPageCount() const;
    bool TwoPageView() const { return m_twoPages; }
    int ZoomLevel() const { return m_zoom; }
    // "Page 3 of 55" or "Pages 3-4 of 55".
    QString StatusText() const;
    // How many times a page of the content was drawn.
    int PagesDrawn() const { return m_pagesDrawn; }

    // Draws page as the preview shows it, its sheet of paper filling paper in painter's
    // coordinates: white paper, the page's content at the printer's margins.
    void DrawPaper(QPainter& painter, const QRectF& paper, int page);

    void NextPage();
    void PrevPage();
    void ToggleTwoPageView();
    void ZoomIn();
    void ZoomOut();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class CPreviewPagesWidget;

    QPushButton* AddButton(const QString& text, const char* name);
    void PlaceOnScreen(const QSize& wanted, const QWidget* mainWindow);
    void ShowFrom(int first);
    void SetZoom(int zoom);
    void UpdateControls();

    QPrinter& m_printer;
    CPreviewContent& m_content;
    int m_pageCount = 0;
    int m_firstPage = 1;
    bool m_twoPages = false;
    int m_zoom = 0;
    int m_pagesDrawn = 0;

    QScrollArea* m_scroll = nullptr;
    CPreviewPagesWidget* m_pages = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_prev = nullptr;
    QPushButton* m_twoPage = nullptr;
    QPushButton* m_zoomIn = nullptr;
    QPushButton* m_zoomOut = nullptr;
};

// Shows content in the print preview, laid out for the program's printer set-up; true when the
// user chose Print..., which the caller then does as its Print command.
bool RunPrintPreview(CPreviewContent& content, QWidget* parent);
