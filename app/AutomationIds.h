#pragma once
// Control identifiers of the main window that outside tools rely on to find the header and the
// buttons (the UI automation driver of the tests, screen readers' scripts).

constexpr int kHeaderControlId = 1001;
constexpr int kFirstBarButtonId = 1101;  // slots 1 to 12 are the left group, 13 to 24 the right

// A property of the main window while a page change runs: its buttons do nothing meanwhile
// (Sliding), although the header may stand in its place already. Outside tools wait until it
// is gone before they click.
constexpr char kPageChangeProperty[] = "Pelmora.PageChange";
