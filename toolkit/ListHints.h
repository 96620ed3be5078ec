#pragma once

class QListWidget;
class QListWidgetItem;
class TListBox;

// Lists whose items may be wider than the list: the hint shows the item under the mouse
// in full, and the list scrolls sideways as far as its widest item.

// Sorted, hints on, the mouse tracked for the hints, and sideways scrolling by pixel.
void SetUpHintList(TListBox *list);

// Fits a list's horizontal scroll extent to its widest item (the text measured in the
// list's font, tab stops expanded, plus the width of "x"); returns that width.
int FitListExtent(QListWidget *list);

// Makes the item under the mouse the list's hint and shows it; nothing for no item or
// for the item already shown.
void ShowItemHint(TListBox *list, QListWidgetItem *item);
