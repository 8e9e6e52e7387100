// What programs outside the keyboard (the test drivers and the bench) may
// rely on to find its controls and read its counters. One definition, so
// the keyboard and the tools that drive it cannot drift apart.
#pragma once

namespace osk::win32 {

// A control's child window has its layout index plus this as its id.
inline constexpr int kFirstControlId = 1000;

// Registered message that answers how many control repaints the window has
// counted so far; benchmarks read it from another process. Counting costs
// one increment, and nothing is published unless someone asks.
inline constexpr const wchar_t* kRepaintCountMessage = L"QmOskRepaints";
// Registered message that answers how many messages the program's message
// loop has taken from its queue: timer ticks, input, paints. An idle
// keyboard should take little more than its own timer ticks.
inline constexpr const wchar_t* kMessageCountMessage = L"QmOskMessages";
// Registered message that answers how the keyboard stands as an application
// bar: 1 while it is one, 0 when not, plus twice the number of app-bar
// calls the system has refused so far.
inline constexpr const wchar_t* kAppBarStateMessage = L"QmOskAppBarState";

}  // namespace osk::win32
