#pragma once

// The permanent in-place editor of the property grid: plain text, text with a drop-down
// pick list, or text with an ellipsis button, following the current row's edit mode.

#include "designer/PrGrid.h"

#include <QListWidget>

#include <functional>

class TPropertyInplaceEdit;

// The drop-down list of a pick-list row. It never takes the focus: the editor keeps it
// and passes its keys on.
class TPopupListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TPopupListBox(TPropertyInplaceEdit *editor);

    // Each item's height; 11 pixels, or the font's line height when that is taller.
    int ItemHeight() const;
    QString SearchText() const { return FSearchText; }
    void ClearSearch() { FSearchText.clear(); }
    // Adds a typed character to the search (a fresh one after 2000 ms) and selects the
    // first item that begins with the collected text.
    void SearchKey(QChar ch);
    // Moves the selection as the list's own navigation keys do.
    void NavigateKey(QKeyEvent *event);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool event(QEvent *e) override;

private:
    bool Inside(const QPointF &globalPos) const;

    TPropertyInplaceEdit *FEditor;
    QString FSearchText;
    qint64 FSearchTickCount = 0;
    bool FPressedInside = false;
};

class TPropertyInplaceEdit : public TPrInplaceEdit {
    Q_OBJECT
public:
    static constexpr int SearchTimeout = 2000; // ms between two keys of one search
    static constexpr int MaxSearchLength = 32;

    explicit TPropertyInplaceEdit(TCustomPrGrid *grid);

    // The current row's edit mode.
    TPropEditMode EditStyle() const { return FEditStyle; }
    bool RowReadOnly() const { return FReadOnly; }
    bool RowChecked() const { return FChecked; }

    // The drop-down list (created on first use) and whether it is open.
    TPopupListBox *PickListBox();
    bool ListVisible() const { return FListVisible; }
    void DropDown();
    // Closes the list; with accept the chosen item becomes the value.
    void CloseUp(bool accept);
    // Chooses a pick-list item as if it had been picked from the list.
    void ChooseItem(int index);

    // The button at the right edge (left for right-to-left); empty for rows without one.
    QRect ButtonRect() const;
    int ButtonWidth() const;
    bool Pressed() const { return FPressed; }

    // Milliseconds for the list's search; tests give a clock of their own.
    void SetClock(std::function<qint64()> clock) { FClock = std::move(clock); }
    qint64 Now() const;

    void UpdateContents() override;
    // Keys while the list is open; returns true when the key was used.
    bool ListKeyDown(QKeyEvent *event);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool EditorKeyDown(QKeyEvent *event) override;
    void FocusLost() override;
    void UpdateTextMargins() override;

private:
    int FrameWidth() const;
    void EditButtonClick();
    void StopTracking();
    QStringList RowPickList() const;
    TCellValueProp *RowItem() const;

    TPropEditMode FEditStyle = emSimple;
    TPopupListBox *FPickList = nullptr;
    bool FListVisible = false;
    bool FTracking = false; // the left button went down on the button
    bool FPressed = false; // and the pointer is on it
    bool FMouseInButton = false;
    bool FReadOnly = false;
    bool FChecked = false;
    std::function<qint64()> FClock;
};
