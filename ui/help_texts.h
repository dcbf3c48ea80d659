// Tool-tip texts of the settings window's controls.
#pragma once

// The tool-tip text of a control of the settings window, or null when the
// control has no tool tip (every id outside 1000..1217 has none). An empty text
// still gets a tool, which shows nothing.
const char* HelpText(int controlId);
