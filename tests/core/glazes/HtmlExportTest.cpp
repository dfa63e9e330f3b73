#include "glazes/HtmlExport.h"

#include "core/glazes/GlazeTextTestSupport.h"
#include "shell/Preferences.h"

namespace {

using HtmlExportTest = GlazeTextTest;

TEST_F(HtmlExportTest, PageForTwoGlazes)
{
    g_prefs.m_strHtmlHeader = "<TITLE>My Glazes</TITLE>";
    g_prefs.m_strHtmlTop = "<H1>Tests & Trials</H1>";
    g_prefs.m_strHtmlBottom.clear();

    CGlazeList glazes;
    Append(glazes, MakeGlaze("unused", {}));
    CGlaze blue = MakeGlaze("Tom & Jerry's <Blue>", {{"Silica", 30}, {"Whiting", 70}}, {{"Cobalt Carbonate", 0.5}});
    blue.m_type = "celadon";
    blue.m_range = "10";
    blue.m_firetype = "reduction";
    blue.m_color = "blue";
    blue.m_vistexture = "speckled";
    blue.m_date = "1/2/2003";
    blue.m_notes = {"Use \"thin\" coats"};
    Append(glazes, blue);
    CGlaze plain = MakeGlaze("Plain", {{"Silica", 0}});
    plain.m_range = "1200C";
    plain.m_date.clear();
    Append(glazes, plain);

    std::ostringstream out;
    const int indices[] = {1, 5, 2};
    EXPECT_EQ(CHtmlExport::WriteGlazes(out, glazes, indices), 0);
    EXPECT_EQ(out.str(),
              "<HTML><HEAD>\n<TITLE>My Glazes</TITLE>\n</HEAD><BODY>\n\n<H1>Tests & Trials</H1>\n\n<HR>\n\n<UL>\n"
              "<LI><A HREF=\"#glz0000\"><B>Tom &amp; Jerry&#39;s &lt;Blue&gt;</B>  --  celadon  --  c10  --  "
              "reduction</A><P>\n"
              "<LI><A HREF=\"#glz0001\"><B>Plain</B>  --    --  1200C  --  </A><P>\n"
              "</UL>\n\n<HR>\n\n"
              "<H3><A NAME=\"glz0000\"></A>Glaze name: Tom &amp; Jerry&#39;s &lt;Blue&gt;</H3>\n"
              "<B>Glaze type:</B> celadon<BR>\n<B>Cone:</B> 10<BR>\n<B>Firing:</B> reduction<BR>\n"
              "<B>Color:</B> blue<BR>\n<B>Visual texture:</B> speckled<BR>\n<B>Date:</B> 1/2/2003<BR>\n<P>\n"
              "<B>Recipe:</B> (Percent, Batch)<BR><PRE>Silica                   30.0       30.00\n"
              "Whiting                  70.0       70.00\n"
              "                        -----    --------\n"
              "Totals:                 100.0      100.00\n"
              "</PRE><P>\n\n<B>Also add:</B><BR>\n"
              "<PRE>Cobalt Carbonate          0.5        0.50\n"
              "</PRE><P>\n\n"
              "<B>Comments:</B><BR><PRE>\nUse &quot;thin&quot; coats\n</PRE><P>\n\n<HR>\n\n"
              "<H3><A NAME=\"glz0001\"></A>Glaze name: Plain</H3>\n<B>Cone:</B> 1200C<BR>\n<P>\n"
              "<B>Recipe:</B> (Percent, Batch)<BR><PRE>Silica                    0.0        0.00\n"
              "                        -----    --------\n"
              "Totals:                   0.0        0.00\n"
              "</PRE><P>\n"
              "<B>Comments:</B><BR><PRE>\n</PRE><P>\n\n<HR>\n\n"
              "\n\n</BODY></HTML>\n");

    // With empty descriptions shown, every label appears, in the page's order.
    g_prefs.emptydesc = 1;
    std::ostringstream all;
    const int second[] = {2};
    CHtmlExport::WriteGlazes(all, glazes, second);
    EXPECT_NE(all.str().find("<B>Glaze type:</B> <BR>\n<B>Cone:</B> 1200C<BR>\n<B>Firing:</B> <BR>\n"
                             "<B>Surface texture:</B> <BR>\n<B>Transparency:</B> <BR>\n"),
              std::string::npos);
    EXPECT_NE(all.str().find("<B>Testing:</B> <BR>\n<B>Source:</B> <BR>\n<B>Date:</B> <BR>\n<P>\n"),
              std::string::npos);
}

} // namespace
