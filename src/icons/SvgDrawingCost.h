#pragma once

#include "util/GiveUp.h"
#include "util/XmlReader.h"

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace rondelix {

// What drawing a website's drawing would cost, added up element by element
// as it is cleaned, so that one that would take the machine is refused before
// anything draws it: paths of a great many segments, and dashes tiny against
// the length they cut (each dash is stroked as a shape of its own). The
// lengths are upper bounds read from the numbers as written; a transform
// scales a stroke and its dashes alike, so it is left out. Every reading is
// one pass over its text, and stops when the give-up says so; a number
// written longer than any drawing needs leaves the measuring unsure.
class SvgDrawingCost {
  public:
    static constexpr std::size_t maxPathSegments = 50000;
    // Bytes of path data and point lists.
    static constexpr std::size_t maxPathData = 524288;
    static constexpr double maxDashes = 20000;
    // Characters of one number: none that a drawing needs is longer.
    static constexpr std::size_t maxNumberLength = 1024;

    // What the readings of one drawing share: the give-up, and whether a
    // number was written too long for any reading to be sure of it.
    struct Reading {
        GiveUp& giveUp;
        bool unsure = false;
    };

    explicit SvgDrawingCost(GiveUp& giveUp) : reading_{giveUp} {}

    // An element as kept for drawing, by its local name in lower case.
    void addElement(std::string_view name, const std::vector<XmlReader::Attribute>& attributes);
    // A style sheet as kept: its dash patterns apply to any element.
    void addStyleSheet(std::string_view sheet);

    // False too once the measuring was given up or was unsure, its sum then unknown.
    bool bearable() const;

  private:
    void addDashPattern(std::string_view pattern);

    Reading reading_;
    std::size_t segments_ = 0;
    std::size_t pathData_ = 0;
    double length_ = 0;
    // The shortest dash pattern anywhere in the drawing.
    std::optional<double> shortestPeriod_;
};

} // namespace rondelix
