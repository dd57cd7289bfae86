#include "ui/form3layout.h"

namespace Form3Layout {
Plan entwurf()
{
    Plan p;
    p[QStringLiteral("Label6")] = {120, 120, 1635, 255};
    p[QStringLiteral("txt_pfad")] = {1860, 120, 4815, 285};
    p[QStringLiteral("cmd_server")] = {6780, 120, 2235, 315};
    p[QStringLiteral("cmd_browse")] = {9120, 120, 2415, 315};
    p[QStringLiteral("DataGrid1")] = {240, 660, 11355, 4695};
    p[QStringLiteral("cmdNavigation(0)")] = {180, 5520, 375, 315};
    p[QStringLiteral("cmdNavigation(1)")] = {540, 5520, 375, 315};
    p[QStringLiteral("cmdNavigation(2)")] = {10860, 5520, 375, 315};
    p[QStringLiteral("cmdNavigation(3)")] = {11220, 5520, 375, 315};
    p[QStringLiteral("lblNavi")] = {900, 5520, 9975, 315};
    p[QStringLiteral("Frame1")] = {180, 5940, 11535, 2055};
    p[QStringLiteral("Label1")] = {60, 360, 0, 0};
    p[QStringLiteral("txtFrage")] = {780, 300, 8535, 315};
    p[QStringLiteral("Label2")] = {120, 780, 1455, 255};
    p[QStringLiteral("txtLoesung")] = {120, 1020, 2655, 285};
    p[QStringLiteral("Label3")] = {2880, 780, 1215, 255};
    p[QStringLiteral("txtAntwort1")] = {3420, 1020, 2655, 285};
    p[QStringLiteral("Label4")] = {5640, 780, 1215, 255};
    p[QStringLiteral("txtAntwort2")] = {6660, 1020, 3975, 285};
    p[QStringLiteral("Label5")] = {10800, 780, 0, 0};
    p[QStringLiteral("txtStufe")] = {10920, 1020, 495, 285};
    p[QStringLiteral("cmdNeu")] = {120, 1500, 2655, 375};
    p[QStringLiteral("cmdUebernehmen")] = {2880, 1500, 2655, 375};
    p[QStringLiteral("cmdLoeschen")] = {5640, 1500, 2655, 375};
    p[QStringLiteral("cmdRefresh")] = {8400, 1500, 1455, 375};
    p[QStringLiteral("lblstat")] = {120, 8100, 6075, 375};
    return p;
}

Plan beimLaden(const Plan &entwurf, double innenBreite)
{
    Plan p = entwurf;
    auto r = [&p](const char *name) -> Rechteck & { return p[QLatin1String(name)]; };

    r("DataGrid1").width = innenBreite - 200;
    r("DataGrid1").left = 100;
    r("Frame1").width = innenBreite - 200;
    r("Frame1").left = 100;
    const double F = r("Frame1").width;
    const double N = r("cmdNavigation(0)").width;

    r("lblNavi").width = F - 4 * N;
    r("lblNavi").left = r("Frame1").left + 2 * N;

    const double links = r("Frame1").left;
    r("cmdNavigation(0)").left = links;
    r("cmdNavigation(1)").left = links + N;
    r("cmdNavigation(2)").left = links + 2 * N + r("lblNavi").width;
    r("cmdNavigation(3)").left = links + 3 * N + r("lblNavi").width;

    const double A = (F - 500 - r("txtStufe").width) / 3;
    r("txtAntwort1").width = A;
    r("txtAntwort2").width = A;
    r("txtLoesung").width = A;
    r("txtLoesung").left = 100;
    r("txtAntwort1").left = r("txtLoesung").left + 100 + A;
    r("txtAntwort2").left = r("txtLoesung").left + 2 * (A + 100);
    r("txtStufe").left = r("txtAntwort2").left + A + 100;
    r("Label2").left = r("txtLoesung").left;
    r("Label3").left = r("txtAntwort1").left;
    r("Label4").left = r("txtAntwort2").left;
    r("Label5").left = r("txtStufe").left;

    const double B = (F - 500) / 4;
    r("cmdUebernehmen").width = B;
    r("cmdNeu").width = B;
    r("cmdLoeschen").width = B;
    r("cmdRefresh").width = B;
    r("cmdNeu").left = 100;
    r("cmdUebernehmen").left = B + 200;
    r("cmdLoeschen").left = 2 * (B + 100) + 100;
    r("cmdRefresh").left = 3 * (B + 100) + 100;

    r("Label1").left = 100;
    r("txtFrage").left = r("Label1").left + r("Label1").width;
    r("txtFrage").width = F - 200 - r("Label1").width;
    return p;
}
}
