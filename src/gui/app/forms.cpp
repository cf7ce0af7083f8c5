#include "gui/app/forms.h"

namespace lir::forms {
gui::TMain* Main = nullptr;
gui::TMainForm6741* MainForm6741 = nullptr;
gui::TMainForm6742* MainForm6742 = nullptr;
gui::TMainForm6741otkid* MainForm6741otkid = nullptr;
gui::TPrice* Price = nullptr;
gui::TAbout* About = nullptr;
gui::TTotalSum* TotalSum = nullptr;
gui::Thistory* History = nullptr;
gui::TCustomers* Customers = nullptr;
gui::TBatch* Batch = nullptr;
} // namespace lir::forms
