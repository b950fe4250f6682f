#pragma once

// The page's WebGL context as the web layer meets it. The browser may take
// the context from the page (in the background, on a GPU reset) and give it
// back later without anything that was made on it: every buffer, texture and
// program is then made again, under new names, from what the web layer keeps.
// Main thread only.

// How making the web layer's GPU objects ended.
enum GpuObjects {
    GpuMade,     // ready to draw
    GpuWaiting,  // the context is lost: they are made when it comes back
    GpuFailed    // a program did not compile or link: the page cannot draw
};

// Why the page cannot draw the game, for sayCannotDraw.
enum CannotDraw { NoWebGl, NoPrograms };

// Whether the page's current WebGL context is lost now (true without one).
bool gpuContextLost();
// Asks the browser to give the context back whenever it is lost, and puts a
// note on the page while it stays lost; once, after the context is made.
void watchGpuContext();
// How many times the context has come back since watchGpuContext.
int gpuRestores();
// Says on the page, in words, that the game cannot be drawn, why (one of
// CannotDraw) and what the player can do.
void sayCannotDraw(int reason);
