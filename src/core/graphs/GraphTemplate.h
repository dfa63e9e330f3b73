#pragma once

// A graph template: the stored description of one chart. Its graph type (a row of
// g_graphTypeTable), style switches, fonts, titles, axes, plotted variables, the limit formula to
// compare with, and the data sources that choose the glazes.
//
// A plain record: copying copies every setting and the data sources deeply. The settings are
// named after the .grt keys that carry them; every flag holds 0 or 1, every range end is a
// double. GraphVariable codes (graphs/GraphVariable.h) name what is plotted.

#include "graphs/GraphDataSource.h"
#include "support/StringArrayEx.h"

#include <array>
#include <string>

class CGraphTemplate {
public:
    // The most codes GetOxideList hands out.
    static constexpr int kMaxOxideListCodes = 150;
    // The value of an unused GetOxideList slot.
    static constexpr int kUnusedOxideSlot = 129;

    // No notes, titles or data sources; the settings of graph type 0.
    explicit CGraphTemplate(std::string name);
    CGraphTemplate(const CGraphTemplate&) = default;
    CGraphTemplate& operator=(const CGraphTemplate&) = default;
    CGraphTemplate(CGraphTemplate&&) noexcept = default;
    CGraphTemplate& operator=(CGraphTemplate&&) noexcept = default;

    // Every member, the data sources by value.
    bool operator==(const CGraphTemplate&) const = default;

    // Sets every setting from type to limform to the defaults of the given graph type; the name,
    // the notes and the data sources stay. Only the oxide list depends on the type: empty for the
    // scatter and triaxial types (22, 23, 24), else "105,106,107".
    void ResetDefaults(int graphType);

    // Fills every slot with kUnusedOxideSlot, then stores in order the codes of bpoxides: the text
    // is split at commas (empty pieces are skipped), each piece read as an integer (its leading
    // number, 0 when it has none), and kept when it lies in 0..127, or is -1 and admitMinusOne is
    // set. At most kMaxOxideListCodes are stored. Returns their number.
    int GetOxideList(std::array<int, kMaxOxideListCodes>& codes, bool admitMinusOne) const;

    std::string m_name;
    CStringArrayEx m_notes; // note

    int type = 0;
    int glzedan = 0;   // offered on the glaze edit view's Analysis page
    int glzedlf = 0;   // offered on the glaze edit view's Limit Formula page
    int gridx = 0;
    int gridy = 0;
    int labels = 1;    // segment labels (pies) or axis labels
    int barhor = 0;    // horizontal bars
    int barwid = 50;   // bar width, percent
    int mono = 0;
    int piebar3d = 0;
    int depth3d = 100;
    int xgap3d = 50;
    int zgap3d = 50;
    int persp3d = 1;
    int cgflip3d = 1;
    int cgthin3d = 0;
    int rot3d = 20;
    int elev3d = 10;
    int eyepos3d = 0;
    int borders = 1;
    int pareto = 0;    // sort descending
    int reverse = 0;
    int autocol = 0;   // automatic colours instead of the colour lists
    int sticks = 1;    // 3-D scatter: sticks from the floor
    int symsize = 100; // symbol size, percent
    int true3d = 1;
    int noleg = 0;

    // Fonts: family (1 Roman .. 5 Decorative, 0 none), style (0, 16 italic, 32 bold, 48 both),
    // size percent.
    int txmainfam = 1, txmainsty = 0, txmainsiz = 200; // top title
    int txlrbfam = 1, txlrbsty = 0, txlrbsiz = 150;    // left, right and bottom titles
    int txpiefam = 1, txpiesty = 0, txpiesiz = 150;    // pie segment labels
    int txaxfam = 1, txaxsty = 0, txaxsiz = 100;       // axis labels
    int txtrifam = 1, txtristy = 0, txtrisiz = 120;    // triaxial corner labels
    int txlegfam = 1, txlegsty = 0, txlegsiz = 100;    // legend

    std::string ttltop;
    std::string ttllft;
    std::string ttlrt;
    std::string ttlbot;
    int ttllftv = 1; // left title vertical
    int ttlrtv = 1;
    int ttltopa = 1; // top title made by the program
    int ttllfta = 1;
    int ttlrta = 1;
    int ttlbota = 1;

    int xman = 0; // scaled manually
    double xmin = 0.0;
    double xmax = 100.0;
    int xtick = 10; // major ticks (triaxial: divisions)
    int xtickm = 1;
    int xbot = 1;
    int xtop = 0;
    int xvert = 0;
    int yman = 0;
    double ymin = 0.0;
    double ymax = 100.0;
    int ytick = 10;
    int ytickm = 1;
    int ylft = 1;
    int yrt = 0;
    int zman = 0;
    double zmin = 0.0;
    double zmax = 100.0;
    int ztick = 10;
    int ztickm = 1;
    int tickin = 0; // 0 inside the axes, 1 through, otherwise outside

    std::string bpoxides = "105,106,107"; // GraphVariable codes of the bars or segments
    int allbar = 1;
    int xoxide = 107; // scatter X (triaxial: lower right)
    int yoxide = 106; // scatter Y (triaxial: top)
    int zoxide = 105; // 3-D scatter Z (triaxial: lower left)
    int oxtype = 1;   // 0 unity, 1 weight percent, 2 molecular percent
    int hoxide = 14;  // histogram variable
    double hmin = 0.0;
    double hmax = 100.0;
    int hsteps = 20;
    int hpct = 1;
    std::string ovfile; // background image of scatter and triaxial charts
    int ovftype = 4;    // kept and stored; no chart reads it
    std::string limform;

    CGraphDataSourceArray m_dataSources;

private:
    struct SMemberDefaults {};
    // Only the member initialisers: the settings of graph type 0.
    CGraphTemplate(std::string name, SMemberDefaults) : m_name(std::move(name)) {}
};
