#pragma once

#include <QStringList>

// The 43 colour identifiers in the order every colour row offers them, written out
// here so that the tests do not take the list from the code they check.
inline const QStringList &ColorNames()
{
    static const QStringList names = {"clBlack",         "clMaroon",
                                      "clGreen",         "clOlive",
                                      "clNavy",          "clPurple",
                                      "clTeal",          "clGray",
                                      "clSilver",        "clRed",
                                      "clLime",          "clYellow",
                                      "clBlue",          "clFuchsia",
                                      "clAqua",          "clWhite",
                                      "clNone",          "clDefault",
                                      "clScrollBar",     "clBackground",
                                      "clActiveCaption", "clInactiveCaption",
                                      "clMenu",          "clWindow",
                                      "clWindowFrame",   "clMenuText",
                                      "clWindowText",    "clCaptionText",
                                      "clActiveBorder",  "clInactiveBorder",
                                      "clAppWorkSpace",  "clHighlight",
                                      "clHighlightText", "clBtnFace",
                                      "clBtnShadow",     "clGrayText",
                                      "clBtnText",       "clInactiveCaptionText",
                                      "clBtnHighlight",  "cl3DDkShadow",
                                      "cl3DLight",       "clInfoText",
                                      "clInfoBk"};
    return names;
}
