#include "util/GraphemeClusters.h"

#include "util/UnicodeProperties.h"

namespace rondelix {

namespace {

using unicode::GraphemeBreak;

bool isControlLike(GraphemeBreak value) {
    return value == GraphemeBreak::Control || value == GraphemeBreak::CR || value == GraphemeBreak::LF;
}

// What the scan has seen since the cluster began, as far as the rules that
// look further back than one scalar need it.
struct ClusterState {
    // The text so far ends in a pictograph followed only by extenders.
    bool pictographThenExtends = false;
    // ... and then one zero-width joiner, so a pictograph may join on.
    bool pictographThenJoiner = false;
    // How many regional indicators end the text so far.
    std::size_t regionalIndicators = 0;

    void take(GraphemeBreak value, bool pictograph) {
        pictographThenJoiner = value == GraphemeBreak::ZWJ && pictographThenExtends;
        pictographThenExtends = pictograph || (value == GraphemeBreak::Extend && pictographThenExtends);
        regionalIndicators = value == GraphemeBreak::RegionalIndicator ? regionalIndicators + 1 : 0;
    }
};

bool isBoundary(GraphemeBreak before, GraphemeBreak after, bool afterIsPictograph,
                const ClusterState& state) {
    if (before == GraphemeBreak::CR && after == GraphemeBreak::LF) return false;
    if (isControlLike(before) || isControlLike(after)) return true;
    if (before == GraphemeBreak::L && (after == GraphemeBreak::L || after == GraphemeBreak::V ||
                                       after == GraphemeBreak::LV || after == GraphemeBreak::LVT))
        return false;
    if ((before == GraphemeBreak::LV || before == GraphemeBreak::V) &&
        (after == GraphemeBreak::V || after == GraphemeBreak::T))
        return false;
    if ((before == GraphemeBreak::LVT || before == GraphemeBreak::T) && after == GraphemeBreak::T)
        return false;
    if (after == GraphemeBreak::Extend || after == GraphemeBreak::ZWJ || after == GraphemeBreak::SpacingMark)
        return false;
    if (before == GraphemeBreak::Prepend) return false;
    if (before == GraphemeBreak::ZWJ && afterIsPictograph && state.pictographThenJoiner) return false;
    // Regional indicators pair up from the start of their run: a flag is two.
    if (before == GraphemeBreak::RegionalIndicator && after == GraphemeBreak::RegionalIndicator)
        return state.regionalIndicators % 2 == 0;
    return true;
}

} // namespace

std::size_t nextGraphemeBoundary(std::u32string_view text, std::size_t from) {
    if (from >= text.size()) return text.size();
    ClusterState state;
    GraphemeBreak before = unicode::graphemeBreak(text[from]);
    state.take(before, unicode::isExtendedPictographic(text[from]));
    for (std::size_t i = from + 1; i < text.size(); ++i) {
        const GraphemeBreak after = unicode::graphemeBreak(text[i]);
        const bool pictograph = unicode::isExtendedPictographic(text[i]);
        if (isBoundary(before, after, pictograph, state)) return i;
        state.take(after, pictograph);
        before = after;
    }
    return text.size();
}

} // namespace rondelix
