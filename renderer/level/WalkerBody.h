#pragma once

// The walker's size, in level units: where its eye is, how tall an opening it
// needs, how high a step it climbs and how near a wall it comes. The defaults
// are the sizes explore mode always had.
struct WalkerBody {
    float eye = 1.5f;     // above the floor, the middle of the scripted bob
    float height = 1.75f; // the eye and the room wanted above it
    float step = 0.6f;    // the tallest step up; any step down is taken
    float radius = 0.25f; // the eye never comes closer to a solid wall
};

// The bounds a level file's body must keep: a radius under the walker's steps of
// 0.1 would let a step carry it through a wall.
constexpr float leastBodyRadius = 0.125f;
constexpr float mostBodyRadius = 1.0f;
constexpr float mostBodyHeight = 64.0f;
