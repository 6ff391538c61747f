// Whether an element takes a value typed into one of its coordinate boxes. The element
// keeps its geometry in whole twips, a save writes it back from them, and the boxes show
// it to seven digits: a typed value that would come back otherwise, from the box or in the
// file, is not taken, and neither is text that is no number, a value beyond the element's
// range or a negative size. For the first, which only the element can judge, the box
// carries the reason in its dynamic property kNotTaken (absent otherwise); the box's own
// check says why of the others.
#pragma once

#include <QString>
#include <optional>

class QObject;

namespace typedvalue {

inline constexpr char kNotTaken[] = "notTaken";

struct Outcome {
    std::optional<double> twips; // what the element takes; nothing when it takes nothing
    QString reason;              // the element's own reason for not taking a number
};

// The value of a box text, for a position from origin (twips) or a size (origin 0).
Outcome take(const QString& text, double origin, bool isSize);

// Marks the box as not taken for this reason, or clears the mark (empty reason).
void mark(QObject& box, const QString& reason);

} // namespace typedvalue
