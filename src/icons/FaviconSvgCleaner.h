#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace rondelix {

// A website's drawing with everything that could reach outside it taken out,
// before anything draws it. The drawing is read as XML and written out again
// from what was read, so a renderer reads exactly the elements, attributes
// and text kept here, and nothing else: no document type or entity, no
// processing instruction (style sheet links among them), no comment. Scripts
// and foreign objects go with their content. A link (any href or src) on an
// image stays only when it carries a picture inline that acceptsPicture
// accepts, written out again as base64 (an inline drawing never stays, as it
// could carry links of its own); elsewhere only when it points at an element
// of the drawing ("#id"); an image or a use left without its link goes. In
// style sheets and attribute values, a url() that does not point at an
// element of the drawing becomes "none"; style sheets also lose their @import
// rules and comments, and one written with escapes is dropped whole.
// None when the drawing is not XML that every reader reads the same way
// (see XmlReader), or would cost more to draw than SvgDrawingCost bears;
// also as soon as givenUp answers true, asked on the first turn and every
// so many turns of every loop that reads, cleans or measures the drawing
// (see GiveUp), so no single long piece of it runs past the answer.
std::optional<std::string> cleanedSvg(std::string_view svg,
                                      const std::function<bool(std::string_view bytes)>& acceptsPicture,
                                      const std::function<bool()>& givenUp = {});

} // namespace rondelix
