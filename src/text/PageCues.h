#pragma once

// Texts of the game that the web page reads in the texts of each frame to
// tell its screens apart (web/touch.js): play shows the on-screen controls,
// the name entry the phone's keyboard. The page names them too; a test holds
// the two sides to the same texts (tests/web/PageCuesTest.cpp).
constexpr const char* LevelPrefix = "Level: ";  // the status line's, drawn during play only
constexpr const char* NamePrompt = "Please enter your name:";  // drawn by the name entry only
