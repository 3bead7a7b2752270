// Keyboard controls: the two GLUT callbacks, their mode flags and blocked-direction flags.
#pragma once

// Left/Right turn when true, slide sideways when false.
extern bool turnMode;
// Up/Down tilt the view when true, walk when false.
extern bool lookMode;

// Set when a press of the key finds the eye already blocked; cleared by the other keys of
// its group (the four arrows, or the two page keys).
extern bool blockedForward;
extern bool blockedBack;
extern bool blockedLeft;
extern bool blockedRight;
extern bool blockedRise;
extern bool blockedSink;

void onKey(unsigned char key, int x, int y);
void onSpecialKey(int key, int x, int y);

// The callbacks' work without the redisplay request, for callers with no GLUT window.
void handleKey(unsigned char key);
void handleSpecialKey(int key);
