#include "renderer/draw/FrameLoop.h"

#include "renderer/camera/FreeCamera.h"
#include "renderer/draw/ColumnDrawing.h"
#include "renderer/draw/ColumnStrip.h"
#include "renderer/draw/ColumnWorkers.h"
#include "renderer/draw/FixedPoint.h"
#include "renderer/draw/FrameThings.h"
#include "renderer/draw/Ray.h"
#include "renderer/draw/Traversal.h"
#include "renderer/draw/WallSpans.h"
#include "renderer/level/Level.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

Vec3 cameraPos = {0.0f, 0.0f, 0.0f};
std::int32_t cameraSector = 0;
Vec3 viewDir = {0.0f, 0.0f, 0.0f};
Vec3 viewSide = {0.0f, 0.0f, 0.0f};
float animationTime = 0.0f;
PackedPixel* framebuffer = nullptr;

namespace {

constexpr float startTime = 5.0f;
constexpr float timeStep = 0.01f;
// Sixteen pixels of a row are one cache line: ranges that start on a line leave
// threads drawing neighbouring ranges no line to share. Sharing one costs more than
// the columns: each of the 240 rows moves between the cores.
constexpr std::int32_t columnsPerRange = 16;
constexpr std::uintptr_t cacheLineBytes = 64;

// The length of the first range that makes every later one start on a cache line
// (the framebuffer need not start on one).
std::int32_t firstRangeOnCacheLines() {
    const std::uintptr_t offset = reinterpret_cast<std::uintptr_t>(framebuffer) % cacheLineBytes;
    return static_cast<std::int32_t>((cacheLineBytes - offset) % cacheLineBytes /
                                     sizeof(PackedPixel));
}

std::unique_ptr<ColumnWorkers> workers;
View frameView; // the view drawColumnRange draws, set before the columns start

std::int32_t drawColumnRange(std::int32_t first, std::int32_t end) {
    return drawViewColumns(frameView, first, end);
}

} // namespace

View currentView() {
    return {cameraPos,   viewDir,   viewSide,    cameraSector, sectors,
            sectorCount, flatCache, framebuffer, flatCacheSize};
}

std::int32_t drawViewColumns(const View& view, std::int32_t first, std::int32_t end,
                             OpenRows* open) {
    // Strips that start on a cache line of the frame write whole lines.
    const std::uintptr_t offset =
        reinterpret_cast<std::uintptr_t>(view.pixels + first) % cacheLineBytes;
    const auto toLine =
        static_cast<std::int32_t>((cacheLineBytes - offset) % cacheLineBytes / sizeof(PackedPixel));
    std::int32_t deepest = 0;
    for (std::int32_t j = first; j < end;) {
        const std::int32_t stripEnd =
            std::min(j == first && toLine > 0 ? j + toLine : j + stripColumns, end);
        deepest = std::max(deepest, drawColumnStrip(view, j, stripEnd, open));
        j = stripEnd;
    }
    return deepest;
}

namespace {

// At 320 x 240 the row step is one unit in the last place below the column step
// (1/160): bits 0x3BCCCCCC and 0x3BCCCCCD, on which every frame depends.
void fillSlopes() {
    const FrameGeometry& g = frameGeometry;
    for (std::int32_t i = 0; i < g.height; ++i) {
        rowSlopes[i] = static_cast<float>(i - g.centreRow) * g.rowSlopeStep;
    }
    for (std::int32_t j = 0; j < g.width; ++j) {
        columnSlopes[j] = static_cast<float>(j - g.centreColumn) * g.columnSlopeStep;
    }
}

} // namespace

bool resizeFrames(std::int32_t width, std::int32_t height) {
    if (!frameSizeAllowed(width, height)) {
        return false;
    }
    if (width == frameGeometry.width && height == frameGeometry.height) {
        return true;
    }
    frameGeometry = frameGeometryFor(width, height);
    columnSlopes.assign(static_cast<std::size_t>(width), 0.0f);
    rowSlopes.assign(static_cast<std::size_t>(height), 0.0f);
    fillSlopes();
    resizeFlatCache(flatCacheSize);
    // The helpers share out the new number of columns.
    setFrameThreads(frameThreads());
    return true;
}

void setFramebuffer(PackedPixel* target) {
    framebuffer = target;
}

void prepareFrames(PackedPixel* target) {
    framebuffer = target;
    cameraSector = levelStart.sector;
    animationTime = startTime;
    fillSlopes();
}

ScriptedFrame scriptedFrame(float time) {
    ScriptedFrame frame;
    const float angle = sineOf(time * 1.2f) * 0.7f;
    frame.eye.z = sineOf(time * 2.5f) * 0.5f + 1.5f;
    frame.eye.x = sineOf(time * 0.7f) * 3.0f - 2.0f;
    frame.eye.y = cosineOf(time * 0.4f) * 3.0f;
    frame.dir = Vec3(cosineOf(angle), sineOf(angle), 0.0f);
    frame.side = Vec3(sineOf(angle), -frame.dir.x, 0.0f);
    return frame;
}

float nextClock(float time) {
    return time + timeStep;
}

namespace {

void lookFromScript(const ScriptedFrame& frame) {
    cameraPos = frame.eye;
    viewDir.x = frame.dir.x;
    viewDir.y = frame.dir.y;
    viewSide = frame.side;
}

// A level without the script: the eye stands at the start, riding its floor.
void lookFromStart() {
    cameraSector = levelStart.sector;
    cameraPos = Vec3(levelStart.x, levelStart.y, eyeHeightIn(sectors[cameraSector], levelBody));
    viewDir = Vec3(cosineOf(levelStart.angle), sineOf(levelStart.angle), 0.0f);
    viewSide = Vec3(sineOf(levelStart.angle), -viewDir.x, 0.0f);
}

} // namespace

void updateCamera() {
    if (sectors != nullptr && !levelStart.scripted) {
        lookFromStart();
        return;
    }
    lookFromScript(scriptedFrame(animationTime));
}

void advanceAnimation() {
    viewDir.z = 0.0f;
    animationTime = nextClock(animationTime);
    if (sectors != nullptr) {
        moveSectors(sectors, animationTime);
    }
    updateCamera();
}

void drawView() {
    if (sectors == nullptr) {
        invalidateFlatCache();
        return;
    }
    prepareFlatCache(currentView());
    drawColumns();
}

void drawColumns() {
    if (framebuffer == nullptr || sectors == nullptr) {
        return;
    }
    frameView = currentView();
    frameWallSpans.startFrame();
    frameView.spans = &frameWallSpans;
    if (!frameThings.entries.empty()) {
        projectThings(frameView, animationTime, frameThings);
        frameView.things = &frameThings;
    }
    const std::int32_t deepest = workers != nullptr ? workers->run(firstRangeOnCacheLines())
                                                    : drawColumnRange(0, frameGeometry.width);
    deepestColumnVisits = std::max(deepestColumnVisits, deepest);
}

void drawFrame() {
    advanceAnimation();
    drawView();
}

void setFrameThreads(std::int32_t threads) {
    workers.reset();
    if (threads > 1) {
        workers = std::make_unique<ColumnWorkers>(threads, frameGeometry.width, columnsPerRange,
                                                  drawColumnRange);
    }
}

std::int32_t frameThreads() {
    return workers != nullptr ? workers->threadCount() : 1;
}
