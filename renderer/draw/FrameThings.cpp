#include "renderer/draw/FrameThings.h"

#include "renderer/draw/ColumnDrawing.h"
#include "renderer/draw/FixedPoint.h"
#include "renderer/draw/FrameGeometry.h"
#include "renderer/draw/SectorLight.h"
#include "renderer/level/LevelThings.h"

#include <algorithm>
#include <cmath>
#include <limits>

FrameThings frameThings;

namespace {

constexpr float texelRowOne = 65536.0f; // texel rows in 16.16 fixed point

// Nearer than this a thing is behind the eye, or as good as: its picture would
// cover the whole view with a handful of texels.
constexpr float nearestThing = 1.0f / 64.0f;
// Past this many things covering columns, a frame's things are looked at whole by
// every column instead.
constexpr std::size_t mostListedThings = std::size_t{1} << 20;

float dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

const ThingPicture& pictureSeen(const Thing& thing, const View& view, float clock) {
    const ThingSprite& sprite = thingSprites[thing.sprite];
    const ThingFrame& frame = thingFrames[sprite.firstFrame + spriteFrame(sprite, clock)];
    const std::int32_t rotation =
        frame.rotations > 1 ? thingRotation(thing, view.eye.x, view.eye.y) : 0;
    return thingPictures[frame.firstPicture + rotation];
}

std::uint32_t thingKeep(const Thing& thing, const Sector& sector, float depth) {
    const std::int32_t dark = darkOf(sector.light, 0);
    if (thing.bright || dark == 0) {
        return keepAll;
    }
    return static_cast<std::uint32_t>(keepAll - shadeOf(dark, wallLift(depth)));
}

bool project(const View& view, float clock, std::int32_t index, ProjectedThing& out) {
    const Thing& thing = levelThings[index];
    const Vec3 fromEye = Vec3(thing.x, thing.y, 0.0f) - view.eye;
    const float depth = dot(fromEye, view.dir);
    if (!(depth >= nearestThing)) {
        return false;
    }
    const ThingPicture& picture = pictureSeen(thing, view, clock);
    const Texture& image = textures[picture.texture];
    const float texels = thingSprites[thing.sprite].texelsPerUnit;
    const FrameGeometry& g = frameGeometry;
    const float columnsPerUnit = 1.0f / (depth * g.columnSlopeStep);
    const float footX =
        picture.mirrored ? static_cast<float>(image.width) - picture.footX : picture.footX;
    const float left = dot(fromEye, view.side) - footX / texels;
    out.leftColumn = static_cast<float>(g.centreColumn) + left * columnsPerUnit;
    const float right = out.leftColumn + static_cast<float>(image.width) / texels * columnsPerUnit;
    if (!(right > 0.0f) || !(out.leftColumn < static_cast<float>(g.width))) {
        return false;
    }
    out.firstColumn = static_cast<std::int32_t>(std::ceil(std::max(out.leftColumn, 0.0f)));
    out.endColumn = static_cast<std::int32_t>(std::ceil(right));
    out.endColumn = std::min(out.endColumn, g.width);
    if (out.firstColumn >= out.endColumn) {
        return false;
    }
    const Sector& sector = view.sectors[thing.sector];
    const float anchor = thing.hanging ? sector.ceilingHeight : sector.floorHeight;
    const float rowsPerUnit = projectionScaleAt(depth) * g.projectionRows;
    const float top = anchor + picture.footY / texels;
    out.depth = depth;
    out.texelsPerColumn = texels / columnsPerUnit;
    out.topRow = static_cast<float>(g.centreRow) - (top - view.eye.z) * rowsPerUnit;
    out.texelsPerRow = texels / rowsPerUnit;
    // What every column of it shares, worked out as each column would.
    out.firstRow =
        static_cast<std::int32_t>(std::clamp(std::ceil(out.topRow), -65536.0f, 65536.0f));
    const float v = (static_cast<float>(out.firstRow) - out.topRow) * out.texelsPerRow;
    out.firstRowInside = v < static_cast<float>(image.height);
    out.firstRowTexel = static_cast<std::uint32_t>(roundToInt(std::max(v, 0.0f) * texelRowOne));
    const float step = std::min(out.texelsPerRow, static_cast<float>(image.height));
    out.rowStep = static_cast<std::uint32_t>(std::max(1, roundToInt(step * texelRowOne)));
    out.perRowStep = ExactDivisor(out.rowStep);
    out.pictureEndRow =
        out.firstRow +
        (out.firstRowInside
             ? static_cast<std::int32_t>(out.rowsBefore(
                   out.firstRowTexel, static_cast<std::uint32_t>(image.height) << 16))
             : 0);
    out.image = &image;
    out.opaqueRuns = thingOpaqueRuns + picture.opaqueRuns;
    out.mirrored = picture.mirrored;
    out.keep = thingKeep(thing, sector, depth);
    out.thing = index;
    return true;
}

// Counts the things covering each column (one more where a thing's columns start,
// one less where they end), then places them far to near, a cursor a column
// filling its list.
void listByColumn(FrameThings& out) {
    const std::int32_t width = frameGeometry.width;
    std::fill(out.columnFirst.begin(), out.columnFirst.begin() + width + 2, 0);
    std::size_t total = 0;
    for (std::int32_t i = 0; i < out.count; ++i) {
        const ProjectedThing& thing = out.entries[static_cast<std::size_t>(i)];
        total += static_cast<std::size_t>(thing.endColumn - thing.firstColumn);
        ++out.columnFirst[static_cast<std::size_t>(thing.firstColumn) + 1];
        --out.columnFirst[static_cast<std::size_t>(thing.endColumn) + 1];
    }
    out.byColumn = total <= out.columnThings.size();
    if (!out.byColumn) {
        return;
    }
    // Summed across once, entry x + 1 is column x's count; twice, entry x is where
    // its list starts.
    for (int pass = 0; pass < 2; ++pass) {
        for (std::int32_t x = 1; x <= width; ++x) {
            out.columnFirst[static_cast<std::size_t>(x)] +=
                out.columnFirst[static_cast<std::size_t>(x) - 1];
        }
    }
    std::int32_t* cursor = out.columnCursor.data();
    std::copy(out.columnFirst.begin(), out.columnFirst.begin() + width, cursor);
    for (std::int32_t k = 0; k < out.count; ++k) {
        const std::int32_t i = out.order[static_cast<std::size_t>(k)];
        const ProjectedThing& thing = out.entries[static_cast<std::size_t>(i)];
        for (std::int32_t x = thing.firstColumn; x < thing.endColumn; ++x) {
            out.columnThings[static_cast<std::size_t>(cursor[x]++)] = i;
        }
    }
}

// Sorts by insertion, which takes a few steps a thing for a list that is nearly
// in order; gives up, leaving the list in some order, past a few steps a thing.
template <typename Before>
bool sortNearlySorted(std::int32_t* list, std::int32_t count, Before before) {
    std::int32_t stepsLeft = 8 * count;
    for (std::int32_t i = 1; i < count; ++i) {
        const std::int32_t value = list[i];
        std::int32_t j = i;
        for (; j > 0 && before(value, list[j - 1]); --j) {
            list[j] = list[j - 1];
            if (--stepsLeft < 0) {
                list[j - 1] = value;
                return false;
            }
        }
        list[j] = value;
    }
    return true;
}

// The next frame projects this one's things far to near, then the others as they
// came.
void planNextVisits(FrameThings& out) {
    std::int32_t next = 0;
    for (std::int32_t k = 0; k < out.count; ++k) {
        out.nextVisits[static_cast<std::size_t>(next++)] =
            out.entries[static_cast<std::size_t>(out.order[static_cast<std::size_t>(k)])].thing;
    }
    // Entries were made in the order of the visits.
    std::int32_t entry = 0;
    for (std::int32_t k = 0; k < levelThingCount; ++k) {
        const std::int32_t i = out.visits[static_cast<std::size_t>(k)];
        if (entry < out.count && out.entries[static_cast<std::size_t>(entry)].thing == i) {
            ++entry;
        } else {
            out.nextVisits[static_cast<std::size_t>(next++)] = i;
        }
    }
    out.visits.swap(out.nextVisits);
}

} // namespace

void FrameThings::resize(std::int32_t things) {
    entries.assign(static_cast<std::size_t>(things), ProjectedThing{});
    order.assign(static_cast<std::size_t>(things), 0);
    visits.resize(static_cast<std::size_t>(things));
    for (std::int32_t i = 0; i < things; ++i) {
        visits[static_cast<std::size_t>(i)] = i;
    }
    nextVisits.assign(static_cast<std::size_t>(things), 0);
    count = 0;
    const bool any = things > 0;
    columnFirst.assign(any ? maxFrameWidth + 2 : 0, 0);
    columnCursor.assign(any ? maxFrameWidth : 0, 0);
    columnThings.assign(
        std::min(static_cast<std::size_t>(things) * static_cast<std::size_t>(maxFrameWidth),
                 mostListedThings),
        0);
    byColumn = false;
}

void projectThings(const View& view, float clock, FrameThings& out) {
    out.count = 0;
    const auto capacity = static_cast<std::int32_t>(out.entries.size());
    for (std::int32_t k = 0; k < levelThingCount && out.count < capacity; ++k) {
        const std::int32_t i = out.visits[static_cast<std::size_t>(k)];
        if (project(view, clock, i, out.entries[static_cast<std::size_t>(out.count)])) {
            ++out.count;
        }
    }
    // A total order: every build sorts alike, whatever order the things came in.
    for (std::int32_t i = 0; i < out.count; ++i) {
        out.order[static_cast<std::size_t>(i)] = i;
    }
    const ProjectedThing* entries = out.entries.data();
    const auto farther = [entries](std::int32_t i, std::int32_t j) {
        const ProjectedThing& a = entries[i];
        const ProjectedThing& b = entries[j];
        return a.depth > b.depth || (a.depth == b.depth && a.thing < b.thing);
    };
    if (!sortNearlySorted(out.order.data(), out.count, farther)) {
        std::sort(out.order.begin(), out.order.begin() + out.count, farther);
    }
    std::int32_t top = std::numeric_limits<std::int32_t>::max();
    std::int32_t end = std::numeric_limits<std::int32_t>::min();
    for (std::int32_t k = 0; k < out.count; ++k) {
        ProjectedThing& thing =
            out.entries[static_cast<std::size_t>(out.order[static_cast<std::size_t>(k)])];
        thing.fartherTop = top;
        thing.fartherEnd = end;
        top = std::min(top, thing.firstRow);
        end = std::max(end, thing.pictureEndRow);
    }
    planNextVisits(out);
    listByColumn(out);
}
