#pragma once

// The control clipboard of the design surface: cut, copy and paste of whole controls
// through their object text. The buffers belong to the selection handle and live as
// long as it does; they are not the system clipboard. The handle's CutAndPaste and
// ClearCutBufferOnPaste (copied from the designer) govern the operations, its
// selection is what is cut or copied and what receives the pasted controls.

#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>

class QWidget;
class TStretchHandle;

// Tag bits the clipboard honours.
inline constexpr int TagNoCut = 64;
inline constexpr int TagNoCopy = 128;
inline constexpr int TagNoPaste = 256;

// The two buffers: one complete object text per control, lines ended by CR LF. A cut
// or copy fills at most one of them.
class TControlClipboard : public QObject {
    Q_OBJECT
public:
    QStringList CopyBuffer;
    QStringList CutBuffer;

    // The buffers of a handle, made on first use and freed with the handle.
    static TControlClipboard *Of(TStretchHandle *handle);

private:
    explicit TControlClipboard(QObject *parent) : QObject(parent) { }
};

// True when the handle's cut buffer or copy buffer holds at least one entry.
bool HasClipboardContent(TStretchHandle *handle);

// Buffers the selected controls (except those with Tag bit 64) and frees them; every
// control leaves the selection. The caller then selects another control (key path)
// and refreshes the inspector.
void CutSelection(TStretchHandle *handle, QWidget *surface);

// Buffers the selected controls except those with Tag bit 128.
void CopySelection(TStretchHandle *handle, QWidget *surface);

// Creates controls from the buffer: into the single selected container, next to the
// selected controls, or onto the surface when nothing is selected. Copies get ID 0
// and land 6 pixels further right and down with every paste. onCreateControl is
// raised for each new control. Returns the new controls, which are then selected.
// A target that is hidden, disabled or carries Tag bit 256 gets a message and nothing
// is pasted. The object-text reader's errors reach the caller.
QList<QWidget *> PasteControls(TStretchHandle *handle, QWidget *surface,
                               const std::function<void(QWidget *)> &onCreateControl = {});

// A control from object text, owned by owner and shown in parent. Every object line
// (at any depth) whose name a component of owner or an earlier object of the text
// already uses is renamed to the class name without its first letter and the
// smallest free number. Raises Exception / EParserError; nothing is left behind on failure.
QWidget *CreateControlFromText(QObject *owner, QWidget *parent, const QString &text);

// The text steps, for the operations above and their tests.
// Object texts of the named controls of the surface, one entry per name; a name that
// is not on the surface gives an empty entry.
QStringList ObjectTextsOfNames(QWidget *surface, const QStringList &names);
// Renames the clashing object lines as CreateControlFromText does.
QString RenameClashingObjects(const QString &text, const QObject *owner);
// A copy's identity is dropped: every "ID = n" becomes "ID = 0" and every Description ''.
QString ClearCopyIdentity(const QString &text);
// Sets Left and Top in the top object's own property block (inserting missing lines),
// ID to 0 and Description to '' there.
QString StorePastedPosition(const QString &text, int left, int top);
