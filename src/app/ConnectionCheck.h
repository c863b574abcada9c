#pragma once
// Before a screen talks to the controller: is one there, is its firmware new
// enough, and does it declare itself compatible with this program?

namespace halcyra {

class CControllerLink;

inline constexpr float kMinimumFirmwareVersion = 1.0f;

// Shows each stage's own message when showMessages is set; true when all pass.
bool CheckHalcyraComms(CControllerLink& link, bool showMessages);

} // namespace halcyra
