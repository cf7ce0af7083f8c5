#pragma once

// The program's windows: each exists once for the whole run and is reached
// by the others through these references. A window that is not there (yet)
// is nullptr.
namespace lir::gui {
class TMain;
class TMainForm6741;
class TMainForm6742;
class TMainForm6741otkid;
class TPrice;
class TAbout;
class TTotalSum;
class Thistory;
class TCustomers;
class TBatch;
} // namespace lir::gui

namespace lir::forms {
extern gui::TMain* Main;
extern gui::TMainForm6741* MainForm6741;
extern gui::TMainForm6742* MainForm6742;
extern gui::TMainForm6741otkid* MainForm6741otkid;
extern gui::TPrice* Price;
extern gui::TAbout* About;
extern gui::TTotalSum* TotalSum;
extern gui::Thistory* History;
extern gui::TCustomers* Customers;
extern gui::TBatch* Batch;
} // namespace lir::forms
