#pragma once

// Driving the modal windows a test brings up: answering the next one, closing what is
// left at the end.

#include "toolkit/StdDialogs.h"

#include <QList>

#include <functional>

class QObject;
class QWidget;

// Hands the next modal window that comes up to step, polled from the event loop while
// the test waits in the code that opened it. Gives up after five seconds, so that a
// window that never came cannot catch a later one.
void WhenModal(QObject *context, std::function<void(QWidget *)> step);

// Closes the modal windows still open, the newest first. False when one refuses to
// close (it is hidden then, so that it cannot hold up the next test): a cleanup reports
// that instead of waiting for it forever.
[[nodiscard]] bool CloseModalWindows();

// The boxes of one kind the dialog seam has recorded.
QList<TShownBox> ShownOf(TBoxKind kind);
