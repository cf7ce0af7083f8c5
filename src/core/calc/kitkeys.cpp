#include "core/calc/kitkeys.h"

namespace lir {

namespace {

using In = KitCalculator::Input;
using V = Key::Value;
using C = Key::Command;

} // namespace

const std::vector<Key>& calculatorKeys()
{
    static const std::vector<Key> keys = {
        {"ProfilType", V::Item, In::ProfilType},
        {"Complekt", V::Whole, In::Complekt, C::None, 0, 1},
        {"cb_zapor", V::Bool, In::CbZapor},
        {"KolKomlektov", V::Clamped, In::KolKomlektov, C::None, 1, 100000},
        {"RAL", V::Clamped, In::RAL, C::None, 0, 9999},
        {"NazvSystemProfiles", V::Item, In::NazvSystemProfiles},
        {"cb_ramaType", V::Item, In::RamaType},
        {"RadioGroup1", V::Whole, In::RadioGroup1, C::None, 0, 1},
        {"PolStvorki", V::Item, In::PolStvorki},
        {"FFH", V::Whole, In::FFH, C::None, 0, 9999},
        {"FFB", V::Whole, In::FFB, C::None, 0, 9999},
        {"RuchkaVcentre", V::Bool, In::RuchkaVcentre},
        {"GH", V::Whole, In::GH, C::None, 0, 9999},
        {"RuchkaOkon", V::Bool, In::RuchkaOkon},
        {"TipRuchki", V::Item, In::TipRuchki},
        {"Provetrivatel", V::Bool, In::Provetrivatel},
        {"BalkonnayaZaschelka", V::Bool, In::BalkonnayaZaschelka},
        {"blokirator", V::Bool, In::Blokirator},
        {"PlankaMicrovent", V::Bool, In::PlankaMicrovent},
        {"CheckBox1", V::Bool, In::CheckBox1},
        {"calculate", V::Bool, {}, C::Calculate},
        {"export_html", V::Path, {}, C::ExportHtml},
        {"export_xlsx", V::Path, {}, C::ExportXlsx},
        {"export_pdf", V::Path, {}, C::ExportPdf},
        {"export_svg", V::Path, {}, C::ExportSvg},
        // The order's buttons of the calculator, pressed after the calculation.
        {"add_to_order", V::Bool, {}, C::AddToOrder},
        {"save_changes", V::Bool, {}, C::SaveChanges},
    };
    return keys;
}

const Key* findKey(const QString& name)
{
    for (const Key& key : calculatorKeys())
        if (name == QLatin1String(key.name))
            return &key;
    return nullptr;
}

bool takesKey(const KitCalculator& c, const Key& key)
{
    return key.command != C::None || c.hasInput(key.input);
}

} // namespace lir
