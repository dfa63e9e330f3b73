#pragma once

// "Graph Settings": what a graph view draws. The caller sets the template, graph type, glaze
// database, glaze, limit formula, oxide units and monochrome flag, runs the dialog and after OK
// reads them back; Cancel changes nothing.
//
// Choosing a template selects its graph type (which can then be changed by hand); choosing a
// glaze database lists its glazes and leaves "(none)" chosen until a glaze is picked. A template
// or glaze that is no longer in its list comes back as null.

#include "support/DialogStyle.h"

#include <vector>

class CGlaze;
class CGlazesDoc;
class CGraphTemplate;
class CLimitFormula;
class QCheckBox;
class QComboBox;

// The open glaze databases in the order of the glaze document template.
std::vector<CGlazesDoc*> GetOpenGlazeDatabases();

// Control ids of the dialog (template 200).
enum GraphSettingsControl : int {
    kGsTemplate = 7000,
    kGsType = 7001,
    kGsDatabase = 7002,
    kGsGlaze = 7003,
    kGsLimitFormula = 7004,
    kGsUnits = 7005,
    kGsMonochrome = 7081,
};

inline constexpr unsigned kGraphSettingsHelpId = 0x200C8;

class CGraphSettingsDlg : public CStyledDialog {
    Q_OBJECT

public:
    explicit CGraphSettingsDlg(QWidget* parent);

    // In before the dialog runs, out after OK. units: 0 unity, 1 weight %, 2 molecular %,
    // -1 the template's own.
    const CGraphTemplate* graphTemplate = nullptr;
    int graphType = 0;
    CGlazesDoc* glazeDb = nullptr;
    CGlaze* glaze = nullptr;
    const CLimitFormula* limitFormula = nullptr;
    int units = -1;
    int monochrome = 0;

    QComboBox* Combo(int id) const;
    QCheckBox* MonochromeCheck() const { return m_monochrome; }

public slots:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void CreateControls();
    void FillTemplates();
    void FillTypes();
    void FillDatabases();
    // "(none)" and the glazes of the chosen database; selects glaze when listed.
    void FillGlazes(CGlazesDoc* database, const CGlaze* select);
    void FillLimitFormulas();
    void OnTemplateChosen(int row);

    QComboBox* m_combos[6] = {};
    QCheckBox* m_monochrome = nullptr;
};
