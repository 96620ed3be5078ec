#pragma once

// The vocabulary of the grid engine under the property grid: its errors, edit modes,
// options, draw states, coordinates and cells.

#include "toolkit/Exception.h"

#include <QString>

#include <initializer_list>

class QObject;

inline constexpr char SIndexOutOfRange[] = "Grid index out of range";

class EInvalidGridOperation : public Exception {
public:
    using Exception::Exception;
};

class EStringSparseListError : public Exception {
public:
    using Exception::Exception;
};

enum TPropEditMode { emSimple, emPickList, emEllipsis, emNoEdit };
enum TEditFrameStyle { efFlat, efThinFramed, efFramed };
enum TPropGridOption {
    goTitle,
    goFixedVertLine,
    goFixedHorzLine,
    goVertLine,
    goHorzLine,
    goRangeSelect,
    goDrawFocusSelected,
    goRowSizing,
    goColSizing,
    goRowMoving,
    goColMoving,
    goEditing,
    goTabs,
    goRowSelect,
    goAlwaysShowEditor,
    goThumbTracking
};

// A set of TPropGridOption.
class TGridOptions {
public:
    constexpr TGridOptions() = default;
    constexpr TGridOptions(std::initializer_list<TPropGridOption> options)
    {
        for (TPropGridOption option : options)
            FBits |= Bit(option);
    }
    constexpr bool Contains(TPropGridOption option) const { return (FBits & Bit(option)) != 0; }
    constexpr TGridOptions operator+(TPropGridOption option) const { return FromBits(FBits | Bit(option)); }
    constexpr TGridOptions operator-(TPropGridOption option) const { return FromBits(FBits & ~Bit(option)); }
    constexpr bool operator==(const TGridOptions &other) const = default;

private:
    static constexpr unsigned Bit(TPropGridOption option) { return 1u << static_cast<unsigned>(option); }
    static constexpr TGridOptions FromBits(unsigned bits)
    {
        TGridOptions result;
        result.FBits = bits;
        return result;
    }
    unsigned FBits = 0;
};

enum TGridDrawStateFlag { gdSelected = 1, gdFocused = 2, gdFixed = 4 };
using TGridDrawState = int; // TGridDrawStateFlag bits

struct TGridCoord {
    int X = -1;
    int Y = -1;
    bool operator==(const TGridCoord &) const = default;
};

// One cell: its text and the object attached to it (not owned).
struct TGridCell {
    QString Text;
    QObject *Object = nullptr;
};
