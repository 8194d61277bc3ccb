#pragma once

namespace rondelix {

// One callable made of several lambdas, for std::visit over a variant. The
// deduction guide is spelled out: not every compiler deduces it for an
// aggregate by itself.
template <typename... Ts> struct Overloaded : Ts... { using Ts::operator()...; };
template <typename... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;

} // namespace rondelix
