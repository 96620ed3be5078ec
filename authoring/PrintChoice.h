#pragma once

#include "printing/ChoosePrint.h"

class QWidget;
class TDbQuery;

namespace Corvella {

// The test selection of a printout: the test window in picking mode with its "Print
// Key" check box, listing only tests that have questions.
TTestPicker TestForPrintPicker(TDbQuery *query, QWidget *parent);

// The class selection of a printout for a test assigned to several classes.
TClassPicker ClassForPrintPicker(QWidget *parent);

// Gives the main window's printout its statement object, its owner, the hidden panel
// for the rebuilt questions and the two selections above.
void SetUpTestPrintout(TTestPrintout &printout, TDbQuery *query, QWidget *owner, QWidget *panelControls);

} // namespace Corvella
