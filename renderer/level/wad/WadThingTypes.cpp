#include "renderer/level/wad/WadThingTypes.h"

namespace {

// The game's clock runs at 35 tics a second; animated things show each frame for
// a few tics.
constexpr float every4Tics = 35.0f / 4.0f;   // torches, lamps, the burning barrel
constexpr float every6Tics = 35.0f / 6.0f;   // items that glint, the evil eye
constexpr float every7Tics = 35.0f / 7.0f;   // the twitching impaled body
constexpr float every10Tics = 35.0f / 10.0f; // keys, the twitching hanging body
constexpr float every14Tics = 35.0f / 14.0f; // the beating heart

// type, sprite, frames, rate, radius, solid, hanging, bright
const WadThingType thingTypes[] = {
    // Where players start and land: marks, not drawn.
    {1, nullptr, "", 0, 16, false, false, false},
    {2, nullptr, "", 0, 16, false, false, false},
    {3, nullptr, "", 0, 16, false, false, false},
    {4, nullptr, "", 0, 16, false, false, false},
    {11, nullptr, "", 0, 20, false, false, false}, // deathmatch start
    {14, nullptr, "", 0, 20, false, false, false}, // teleport landing
    {87, nullptr, "", 0, 0, false, false, false},  // where the last boss's cubes land
    {89, nullptr, "", 0, 20, false, false, false}, // the last boss's cube shooter

    // Creatures, in their first frame.
    {3004, "POSS", "A", 0, 20, true, false, false}, // zombieman
    {84, "SSWV", "A", 0, 20, true, false, false},   // Wolfenstein SS
    {9, "SPOS", "A", 0, 20, true, false, false},    // shotgun guy
    {65, "CPOS", "A", 0, 20, true, false, false},   // heavy weapon dude
    {3001, "TROO", "A", 0, 20, true, false, false}, // imp
    {3002, "SARG", "A", 0, 30, true, false, false}, // demon
    {58, "SARG", "A", 0, 30, true, false, false},   // spectre
    {3006, "SKUL", "A", 0, 16, true, false, true},  // lost soul, aflame
    {3005, "HEAD", "A", 0, 31, true, false, false}, // cacodemon
    {69, "BOS2", "A", 0, 24, true, false, false},   // hell knight
    {3003, "BOSS", "A", 0, 24, true, false, false}, // baron of hell
    {68, "BSPI", "A", 0, 64, true, false, false},   // arachnotron
    {71, "PAIN", "A", 0, 31, true, false, false},   // pain elemental
    {66, "SKEL", "A", 0, 20, true, false, false},   // revenant
    {67, "FATT", "A", 0, 48, true, false, false},   // mancubus
    {64, "VILE", "A", 0, 20, true, false, false},   // arch-vile
    {7, "SPID", "A", 0, 128, true, false, false},   // spiderdemon
    {16, "CYBR", "A", 0, 40, true, false, false},   // cyberdemon
    {88, "BBRN", "A", 0, 16, true, false, false},   // the last boss
    {72, "KEEN", "A", 0, 16, true, true, false},    // Commander Keen, hanged

    // Weapons.
    {2005, "CSAW", "A", 0, 20, false, false, false},
    {2001, "SHOT", "A", 0, 20, false, false, false},
    {82, "SGN2", "A", 0, 20, false, false, false},
    {2002, "MGUN", "A", 0, 20, false, false, false},
    {2003, "LAUN", "A", 0, 20, false, false, false},
    {2004, "PLAS", "A", 0, 20, false, false, false},
    {2006, "BFUG", "A", 0, 20, false, false, false},

    // Ammunition.
    {2007, "CLIP", "A", 0, 20, false, false, false},
    {2048, "AMMO", "A", 0, 20, false, false, false},
    {2008, "SHEL", "A", 0, 20, false, false, false},
    {2049, "SBOX", "A", 0, 20, false, false, false},
    {2010, "ROCK", "A", 0, 20, false, false, false},
    {2046, "BROK", "A", 0, 20, false, false, false},
    {2047, "CELL", "A", 0, 20, false, false, false},
    {17, "CELP", "A", 0, 20, false, false, false},
    {8, "BPAK", "A", 0, 20, false, false, false},

    // Health and armour.
    {2011, "STIM", "A", 0, 20, false, false, false},
    {2012, "MEDI", "A", 0, 20, false, false, false},
    {2014, "BON1", "ABCDCB", every6Tics, 20, false, false, false},
    {2015, "BON2", "ABCDCB", every6Tics, 20, false, false, false},
    {2018, "ARM1", "AB", every6Tics, 20, false, false, false},
    {2019, "ARM2", "AB", every6Tics, 20, false, false, false},

    // Powerups, glowing.
    {2013, "SOUL", "ABCDCB", every6Tics, 20, false, false, true},
    {83, "MEGA", "ABCD", every6Tics, 20, false, false, true},
    {2022, "PINV", "ABCD", every6Tics, 20, false, false, true},
    {2023, "PSTR", "A", 0, 20, false, false, true},
    {2024, "PINS", "ABCD", every6Tics, 20, false, false, true},
    {2025, "SUIT", "A", 0, 20, false, false, true},
    {2026, "PMAP", "ABCDCB", every6Tics, 20, false, false, true},
    {2045, "PVIS", "AB", every6Tics, 20, false, false, true},

    // Keys.
    {5, "BKEY", "AB", every10Tics, 20, false, false, false},
    {40, "BSKU", "AB", every10Tics, 20, false, false, false},
    {13, "RKEY", "AB", every10Tics, 20, false, false, false},
    {38, "RSKU", "AB", every10Tics, 20, false, false, false},
    {6, "YKEY", "AB", every10Tics, 20, false, false, false},
    {39, "YSKU", "AB", every10Tics, 20, false, false, false},

    // Light sources.
    {2028, "COLU", "A", 0, 16, true, false, true},           // floor lamp
    {85, "TLMP", "ABCD", every4Tics, 16, true, false, true}, // tall techno lamp
    {86, "TLP2", "ABCD", every4Tics, 16, true, false, true}, // short techno lamp
    {34, "CAND", "A", 0, 20, false, false, true},            // candle
    {35, "CBRA", "A", 0, 16, true, false, true},             // candelabra
    {44, "TBLU", "ABCD", every4Tics, 16, true, false, true}, // tall blue torch
    {45, "TGRN", "ABCD", every4Tics, 16, true, false, true}, // tall green torch
    {46, "TRED", "ABCD", every4Tics, 16, true, false, true}, // tall red torch
    {55, "SMBT", "ABCD", every4Tics, 16, true, false, true}, // short blue torch
    {56, "SMGT", "ABCD", every4Tics, 16, true, false, true}, // short green torch
    {57, "SMRT", "ABCD", every4Tics, 16, true, false, true}, // short red torch
    {70, "FCAN", "ABC", every4Tics, 10, true, false, true},  // burning barrel
    {41, "CEYE", "ABCB", every6Tics, 16, true, false, true}, // evil eye
    {42, "FSKU", "ABC", every6Tics, 16, true, false, true},  // floating skull rock
    {29, "POL3", "AB", every6Tics, 16, true, false, true},   // skulls and candles

    // Obstacles.
    {2035, "BAR1", "AB", every6Tics, 10, true, false, false}, // barrel
    {48, "ELEC", "A", 0, 16, true, false, false},             // tall techno column
    {30, "COL1", "A", 0, 16, true, false, false},
    {31, "COL2", "A", 0, 16, true, false, false},
    {32, "COL3", "A", 0, 16, true, false, false},
    {33, "COL4", "A", 0, 16, true, false, false},
    {36, "COL5", "AB", every14Tics, 16, true, false, false}, // with a beating heart
    {37, "COL6", "A", 0, 16, true, false, false},
    {43, "TRE1", "A", 0, 16, true, false, false},
    {54, "TRE2", "A", 0, 32, true, false, false},
    {47, "SMIT", "A", 0, 16, true, false, false},
    {25, "POL1", "A", 0, 16, true, false, false},
    {26, "POL6", "AB", every7Tics, 16, true, false, false},
    {27, "POL4", "A", 0, 16, true, false, false},
    {28, "POL2", "A", 0, 16, true, false, false},

    // Hanging from the ceiling: in the way, and over the head.
    {49, "GOR1", "ABCB", every10Tics, 16, true, true, false},
    {50, "GOR2", "A", 0, 16, true, true, false},
    {51, "GOR3", "A", 0, 16, true, true, false},
    {52, "GOR4", "A", 0, 16, true, true, false},
    {53, "GOR5", "A", 0, 16, true, true, false},
    {63, "GOR1", "ABCB", every10Tics, 20, false, true, false},
    {59, "GOR2", "A", 0, 20, false, true, false},
    {61, "GOR3", "A", 0, 20, false, true, false},
    {60, "GOR4", "A", 0, 20, false, true, false},
    {62, "GOR5", "A", 0, 20, false, true, false},
    {73, "HDB1", "A", 0, 16, true, true, false},
    {74, "HDB2", "A", 0, 16, true, true, false},
    {75, "HDB3", "A", 0, 16, true, true, false},
    {76, "HDB4", "A", 0, 16, true, true, false},
    {77, "HDB5", "A", 0, 16, true, true, false},
    {78, "HDB6", "A", 0, 16, true, true, false},

    // On the floor, walked over: the dead and what is left of them.
    {10, "PLAY", "W", 0, 16, false, false, false}, // bloody mess
    {12, "PLAY", "W", 0, 16, false, false, false},
    {15, "PLAY", "N", 0, 16, false, false, false}, // dead player
    {18, "POSS", "L", 0, 20, false, false, false},
    {19, "SPOS", "L", 0, 20, false, false, false},
    {20, "TROO", "M", 0, 20, false, false, false},
    {21, "SARG", "N", 0, 30, false, false, false},
    {22, "HEAD", "L", 0, 31, false, false, false},
    {23, "SKUL", "K", 0, 16, false, false, false},
    {24, "POL5", "A", 0, 20, false, false, false}, // pool of blood and flesh
    {79, "POB1", "A", 0, 20, false, false, false},
    {80, "POB2", "A", 0, 20, false, false, false},
    {81, "BRS1", "A", 0, 20, false, false, false},
};

} // namespace

const WadThingType* findWadThingType(std::int32_t type) {
    for (const WadThingType& known : thingTypes) {
        if (known.type == type) {
            return &known;
        }
    }
    return nullptr;
}
