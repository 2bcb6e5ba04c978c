#include "renderer/level/LevelFile.h"

#include "renderer/level/LevelGeometry.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

// Objects keep the file's order, so textures are numbered as they are listed.
using Json = nlohmann::ordered_json;

// Deeper than any level needs; a deeper file is refused before the tree is built.
constexpr std::size_t maxNesting = 64;

// Finds the first syntax error (with the parser's line and column), refuses
// nesting deeper than maxNesting and a key given twice in one object (the parser
// would keep the last silently); records nothing else.
class SyntaxCheck : public nlohmann::json_sax<Json> {
  public:
    std::string problem;

    bool null() override { return element(); }
    bool boolean(bool) override { return element(); }
    bool number_integer(number_integer_t) override { return element(); }
    bool number_unsigned(number_unsigned_t) override { return element(); }
    bool number_float(number_float_t, const string_t&) override { return element(); }
    bool string(string_t&) override { return element(); }
    bool binary(binary_t&) override { return element(); }
    bool start_object(std::size_t) override { return element() && enter(false); }
    bool key(string_t& name) override {
        Level& object = open_.back();
        if (!object.keys.insert(name).second) {
            problem = pathOf(name) + ": is given twice in one object (each key may appear once)";
            return false;
        }
        object.key = name;
        return true;
    }
    bool end_object() override { return leave(); }
    bool start_array(std::size_t) override { return element() && enter(true); }
    bool end_array() override { return leave(); }
    bool parse_error(std::size_t position, const std::string&,
                     const nlohmann::detail::exception& error) override {
        // The parser's own text starts with its error number and, for syntax
        // errors, the place; the place is worked out here for every kind.
        std::string what = error.what();
        const std::size_t close = what.find("] ");
        what = close != std::string::npos ? what.substr(close + 2) : what;
        const std::size_t place = what.find("parse error at line ");
        const std::size_t colon = what.find(": ", place);
        if (place != std::string::npos && colon != std::string::npos) {
            what = what.substr(colon + 2);
        } else if (what.rfind("parse error: ", 0) == 0) {
            what = what.substr(13);
        }
        for (char& c : what) {
            c = static_cast<unsigned char>(c) < 0x20 ? ' ' : c; // one line, whatever was read
        }
        problem = placeOf(position) + ": " + what;
        return false;
    }

    std::string placeOf(std::size_t position) const {
        std::size_t line = 1;
        std::size_t column = 1;
        const std::size_t end = std::min(position > 0 ? position - 1 : 0, text_.size());
        for (std::size_t i = 0; i < end; ++i) {
            if (text_[i] == '\n') {
                ++line;
                column = 1;
            } else {
                ++column;
            }
        }
        return "line " + std::to_string(line) + ", column " + std::to_string(column);
    }

    explicit SyntaxCheck(const std::string& text) : text_(text) {}

  private:
    // An array or object being read: how far it has got.
    struct Level {
        bool array;
        std::size_t elements = 0;             // an array's, so far
        std::string key;                      // an object's latest key
        std::unordered_set<std::string> keys; // an object's keys so far
    };

    bool element() {
        if (!open_.empty() && open_.back().array) {
            ++open_.back().elements;
        }
        return true;
    }
    bool enter(bool array) {
        if (open_.size() + 1 > maxNesting) {
            problem = "arrays and objects nested more than 64 deep";
            return false;
        }
        open_.push_back({array, 0, {}, {}});
        return true;
    }
    bool leave() {
        open_.pop_back();
        return true;
    }

    // The path of key name in the innermost object, as the field messages write it.
    std::string pathOf(const std::string& name) const {
        std::string path;
        for (std::size_t i = 0; i + 1 < open_.size(); ++i) {
            path += open_[i].array ? "[" + std::to_string(open_[i].elements - 1) + "]"
                                   : (path.empty() ? "" : ".") + printable(open_[i].key);
        }
        return path + (path.empty() ? "" : ".") + printable(name);
    }

    const std::string& text_;
    std::vector<Level> open_;
};

// Reads the fields of the parsed tree into a description; stops at the first
// problem, which names its place in the file as a path like sectors[3].outline[2].
class FieldReader {
  public:
    explicit FieldReader(LevelDescription& level) : level_(level) {}

    const std::string& problem() const { return problem_; }

    bool read(const Json& root) {
        if (!root.is_object()) {
            return fail("", "the file must hold one JSON object");
        }
        if (!only(root, "",
                  {"duskhall-level", "name", "camera", "textures", "vertices", "sectors", "start",
                   "body", "sky", "fake-contrast", "doors", "lifts", "triggers", "texels-per-unit",
                   "flat-texels-per-unit", "room-aligned-walls", "sprites", "things", "comment"})) {
            return false;
        }
        const Json* version = field(root, "", "duskhall-level");
        std::int64_t number = 0;
        if (version == nullptr || !integer(*version, "duskhall-level", 0, INT32_MAX, number)) {
            return false;
        }
        if (number != 1) {
            return fail("duskhall-level", "version " + std::to_string(number) +
                                              " is not known (this program reads version 1)");
        }
        return readName(root) && readCamera(root) && readTextures(root) &&
               readTextureName(root, "", "sky", false, level_.sky) &&
               readFlag(root, "", "fake-contrast", level_.fakeContrast) && readVertices(root) &&
               readSectors(root) && readStart(root) && readBody(root) &&
               readMovers(root, "doors", false) && readMovers(root, "lifts", true) &&
               readTriggers(root) && readAlignment(root) && readSprites(root) && readThings(root);
    }

  private:
    bool fail(const std::string& path, const std::string& message) {
        problem_ = path.empty() ? message : path + ": " + message;
        return false;
    }

    static std::string member(const std::string& path, const char* key) {
        return path.empty() ? printable(key) : path + "." + printable(key);
    }
    static std::string element(const std::string& path, std::size_t index) {
        return path + "[" + std::to_string(index) + "]";
    }

    // Unknown fields are most often misspelt ones: better said than ignored.
    bool only(const Json& object, const std::string& path,
              std::initializer_list<const char*> known) {
        for (auto it = object.begin(); it != object.end(); ++it) {
            bool found = false;
            for (const char* name : known) {
                found = found || it.key() == name;
            }
            if (!found) {
                return fail(path, "unknown field \"" + printable(it.key()) + "\"");
            }
        }
        return true;
    }

    const Json* field(const Json& object, const std::string& path, const char* key) {
        const Json* value = optionalField(object, key);
        if (value == nullptr) {
            fail(path, "the field \"" + std::string(key) + "\" is missing");
        }
        return value;
    }
    static const Json* optionalField(const Json& object, const char* key) {
        const auto it = object.find(key);
        return it == object.end() ? nullptr : &*it;
    }

    bool integer(const Json& value, const std::string& path, std::int64_t low, std::int64_t high,
                 std::int64_t& out) {
        if (value.is_number_unsigned()) {
            const std::uint64_t unsignedValue = value.get<std::uint64_t>();
            if (unsignedValue > static_cast<std::uint64_t>(high)) {
                return fail(path, "must be at most " + std::to_string(high));
            }
            out = static_cast<std::int64_t>(unsignedValue);
        } else if (value.is_number_integer()) {
            out = value.get<std::int64_t>();
        } else {
            return fail(path, "must be a whole number");
        }
        if (out < low || out > high) {
            return fail(path,
                        "must be from " + std::to_string(low) + " to " + std::to_string(high));
        }
        return true;
    }

    bool number(const Json& value, const std::string& path, float limit, float& out) {
        if (!value.is_number()) {
            return fail(path, "must be a number");
        }
        const double wide = value.get<double>();
        if (!std::isfinite(wide)) {
            return fail(path, "must be a finite number");
        }
        if (!(std::fabs(wide) <= static_cast<double>(limit))) {
            std::ostringstream text;
            text << "must be a finite number from " << -limit << " to " << limit;
            return fail(path, text.str());
        }
        out = static_cast<float>(wide);
        return true;
    }

    bool text(const Json& value, const std::string& path, std::string& out) {
        if (!value.is_string()) {
            return fail(path, "must be a string");
        }
        out = value.get<std::string>();
        return true;
    }

    // A name is shown, matched and opened as a file: a control character in it
    // (a NUL would cut a file name short) is a mistake, never meant.
    bool plainName(const std::string& name, const std::string& path, const char* what) {
        for (const char c : name) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x20 || byte == 0x7F) {
                return fail(path, std::string(what) + " \"" + printable(name) +
                                      "\" holds a control character; names may not");
            }
        }
        return true;
    }

    bool name(const Json& value, const std::string& path, const char* what, std::string& out) {
        return text(value, path, out) && plainName(out, path, what);
    }

    bool array(const Json& value, const std::string& path, std::size_t least, std::size_t most) {
        if (!value.is_array()) {
            return fail(path, "must be an array");
        }
        if (value.size() < least || value.size() > most) {
            return fail(path, "must have from " + std::to_string(least) + " to " +
                                  std::to_string(most) + " entries (it has " +
                                  std::to_string(value.size()) + ")");
        }
        return true;
    }

    bool readName(const Json& root) {
        const Json* name = optionalField(root, "name");
        return name == nullptr || this->name(*name, "name", "the name", level_.name);
    }

    bool readCamera(const Json& root) {
        const Json* camera = optionalField(root, "camera");
        if (camera == nullptr) {
            return true;
        }
        std::string mode;
        if (!text(*camera, "camera", mode)) {
            return false;
        }
        if (mode != "scripted" && mode != "start") {
            return fail("camera", "must be \"scripted\" or \"start\"");
        }
        level_.scriptedCamera = mode == "scripted";
        return true;
    }

    bool readTextures(const Json& root) {
        const Json* textures = field(root, "", "textures");
        if (textures == nullptr) {
            return false;
        }
        if (!textures->is_object()) {
            return fail("textures", "must be an object of names and PNG file names");
        }
        if (textures->size() > static_cast<std::size_t>(maxLevelTextures)) {
            return fail("textures", "more than " + std::to_string(maxLevelTextures) + " textures");
        }
        for (auto it = textures->begin(); it != textures->end(); ++it) {
            TextureFile texture{it.key(), {}};
            const std::string place = member("textures", it.key().c_str());
            if (!plainName(texture.name, place, "the texture name") ||
                !name(it.value(), place, "the file name", texture.file)) {
                return false;
            }
            if (texture.file.empty()) {
                return fail(member("textures", it.key().c_str()), "the file name is empty");
            }
            level_.textures.push_back(texture);
        }
        return true;
    }

    bool readVertices(const Json& root) {
        const Json* vertices = field(root, "", "vertices");
        if (vertices == nullptr ||
            !array(*vertices, "vertices", 3, static_cast<std::size_t>(maxLevelVertices))) {
            return false;
        }
        level_.vertexX.reserve(vertices->size());
        level_.vertexY.reserve(vertices->size());
        for (std::size_t i = 0; i < vertices->size(); ++i) {
            const Json& point = (*vertices)[i];
            const std::string path = element("vertices", i);
            if (!point.is_array() || point.size() != 2) {
                return fail(path, "must be a point [x, y]");
            }
            float x = 0.0f;
            float y = 0.0f;
            if (!number(point[0], element(path, 0), maxLevelCoordinate, x) ||
                !number(point[1], element(path, 1), maxLevelCoordinate, y)) {
                return false;
            }
            level_.vertexX.push_back(x);
            level_.vertexY.push_back(y);
        }
        return true;
    }

    bool readLoop(const Json& value, const std::string& path, std::vector<std::int32_t>& loop) {
        if (!array(value, path, 3, static_cast<std::size_t>(maxSectorEdges))) {
            return false;
        }
        const std::int64_t vertexCount = static_cast<std::int64_t>(level_.vertexX.size());
        for (std::size_t i = 0; i < value.size(); ++i) {
            std::int64_t index = 0;
            if (!integer(value[i], element(path, i), 0, INT32_MAX, index)) {
                return false;
            }
            if (index >= vertexCount) {
                return fail(element(path, i), "vertex " + std::to_string(index) +
                                                  " does not exist (the file has " +
                                                  std::to_string(vertexCount) + ")");
            }
            loop.push_back(static_cast<std::int32_t>(index));
        }
        return true;
    }

    bool readTextureName(const Json& object, const std::string& path, const char* key,
                         bool required, std::string& out) {
        const Json* value = required ? field(object, path, key) : optionalField(object, key);
        if (value == nullptr) {
            return !required;
        }
        const std::string place = member(path, key);
        if (!name(*value, place, "the texture name", out)) {
            return false;
        }
        for (const TextureFile& texture : level_.textures) {
            if (texture.name == out) {
                return true;
            }
        }
        return fail(place, "no texture is named \"" + printable(out) + "\" in \"textures\"");
    }

    bool readFlag(const Json& object, const std::string& path, const char* key, bool& out) {
        const Json* value = optionalField(object, key);
        if (value == nullptr) {
            return true;
        }
        if (!value->is_boolean()) {
            return fail(member(path, key), "must be true or false");
        }
        out = value->get<bool>();
        return true;
    }

    bool readLight(const Json& sector, const std::string& path, std::int32_t& out) {
        const Json* value = optionalField(sector, "light");
        std::int64_t light = out;
        if (value != nullptr && !integer(*value, member(path, "light"), 0, 255, light)) {
            return false;
        }
        out = static_cast<std::int32_t>(light);
        return true;
    }

    // A scale of the level's textures: missing keeps the default.
    bool texelScale(const Json& root, const char* key, float& out) {
        const Json* value = optionalField(root, key);
        if (value == nullptr) {
            return true;
        }
        const double scale = value->is_number() ? value->get<double>() : 0.0;
        if (!(scale >= 1.0 && scale <= static_cast<double>(maxTexelsPerUnit))) {
            return fail(key, "must be a number from 1 to 1024 (texels a unit)");
        }
        out = static_cast<float>(scale);
        return true;
    }

    bool readAlignment(const Json& root) {
        return texelScale(root, "texels-per-unit", level_.texelsPerUnit) &&
               texelScale(root, "flat-texels-per-unit", level_.flatTexelsPerUnit) &&
               readFlag(root, "", "room-aligned-walls", level_.roomAlignedWalls);
    }

    bool readOffset(const Json& side, const std::string& path, SideDescription& out) {
        const Json* offset = optionalField(side, "offset");
        if (offset == nullptr) {
            return true;
        }
        const std::string place = member(path, "offset");
        if (!offset->is_array() || offset->size() != 2) {
            return fail(place, "must be [x, y], two numbers of texels");
        }
        out.offsetGiven = true;
        return number((*offset)[0], element(place, 0), maxTextureOffset, out.offsetX) &&
               number((*offset)[1], element(place, 1), maxTextureOffset, out.offsetY);
    }

    bool readSides(const Json& sector, const std::string& path, SectorDescription& out) {
        const Json* sides = optionalField(sector, "sides");
        const std::string place = member(path, "sides");
        if (sides == nullptr) {
            return true;
        }
        const auto edges = static_cast<std::size_t>(out.edgeCount());
        if (!array(*sides, place, 0, edges)) {
            return false;
        }
        for (std::size_t i = 0; i < sides->size(); ++i) {
            const Json& side = (*sides)[i];
            const std::string sidePath = element(place, i);
            if (!side.is_object()) {
                return fail(sidePath, "must be an object");
            }
            SideDescription description;
            std::int64_t edge = 0;
            const Json* edgeValue = field(side, sidePath, "edge");
            if (!only(side, sidePath,
                      {"edge", "texture", "lower", "upper", "middle", "blocking", "offset",
                       "lower-unpegged", "upper-unpegged"}) ||
                edgeValue == nullptr ||
                !integer(*edgeValue, member(sidePath, "edge"), 0,
                         static_cast<std::int64_t>(edges) - 1, edge) ||
                !readTextureName(side, sidePath, "texture", false, description.texture) ||
                !readTextureName(side, sidePath, "lower", false, description.lower) ||
                !readTextureName(side, sidePath, "upper", false, description.upper) ||
                !readTextureName(side, sidePath, "middle", false, description.middle) ||
                !readFlag(side, sidePath, "blocking", description.blocking) ||
                !readOffset(side, sidePath, description) ||
                !readFlag(side, sidePath, "lower-unpegged", description.lowerUnpegged) ||
                !readFlag(side, sidePath, "upper-unpegged", description.upperUnpegged)) {
                return false;
            }
            description.edge = static_cast<std::int32_t>(edge);
            for (const SideDescription& earlier : out.sides) {
                if (earlier.edge == description.edge) {
                    return fail(member(sidePath, "edge"),
                                "edge " + std::to_string(edge) + " is described twice");
                }
            }
            out.sides.push_back(description);
        }
        return true;
    }

    bool readMotion(const Json& sector, const std::string& path, MotionDescription& motion) {
        const Json* value = optionalField(sector, "motion");
        if (value == nullptr) {
            return true;
        }
        const std::string place = member(path, "motion");
        if (!value->is_object()) {
            return fail(place, "must be an object");
        }
        const Json* amplitude = field(*value, place, "amplitude");
        const Json* speed = amplitude != nullptr ? field(*value, place, "speed") : nullptr;
        const Json* floor = speed != nullptr ? field(*value, place, "floor") : nullptr;
        const Json* ceiling = floor != nullptr ? field(*value, place, "ceiling") : nullptr;
        if (ceiling == nullptr ||
            !only(*value, place, {"amplitude", "speed", "floor", "ceiling"}) ||
            !number(*amplitude, member(place, "amplitude"), maxLevelCoordinate, motion.amplitude) ||
            !number(*speed, member(place, "speed"), maxMotionSpeed, motion.speed) ||
            !number(*floor, member(place, "floor"), maxLevelCoordinate, motion.floor) ||
            !number(*ceiling, member(place, "ceiling"), maxLevelCoordinate, motion.ceiling)) {
            return false;
        }
        motion.moves = true;
        return true;
    }

    bool readSector(const Json& sector, const std::string& path, SectorDescription& out) {
        if (!sector.is_object()) {
            return fail(path, "must be an object");
        }
        if (!only(sector, path,
                  {"outline", "holes", "floor", "ceiling", "wall-texture", "floor-texture",
                   "ceiling-texture", "light", "sides", "motion", "comment"})) {
            return false;
        }
        const Json* outline = field(sector, path, "outline");
        if (outline == nullptr || !readLoop(*outline, member(path, "outline"), out.outline)) {
            return false;
        }
        if (const Json* holes = optionalField(sector, "holes")) {
            const std::string place = member(path, "holes");
            if (!array(*holes, place, 0, static_cast<std::size_t>(maxSectorEdges))) {
                return false;
            }
            for (std::size_t i = 0; i < holes->size(); ++i) {
                out.holes.emplace_back();
                if (!readLoop((*holes)[i], element(place, i), out.holes.back())) {
                    return false;
                }
            }
        }
        const Json* floor = field(sector, path, "floor");
        const Json* ceiling = floor != nullptr ? field(sector, path, "ceiling") : nullptr;
        return ceiling != nullptr &&
               number(*floor, member(path, "floor"), maxLevelCoordinate, out.floor) &&
               number(*ceiling, member(path, "ceiling"), maxLevelCoordinate, out.ceiling) &&
               readTextureName(sector, path, "wall-texture", true, out.wallTexture) &&
               readTextureName(sector, path, "floor-texture", true, out.floorTexture) &&
               readTextureName(sector, path, "ceiling-texture", true, out.ceilingTexture) &&
               readLight(sector, path, out.light) && readSides(sector, path, out) &&
               readMotion(sector, path, out.motion);
    }

    bool readSectors(const Json& root) {
        const Json* sectors = field(root, "", "sectors");
        if (sectors == nullptr ||
            !array(*sectors, "sectors", 1, static_cast<std::size_t>(maxLevelSectors))) {
            return false;
        }
        level_.sectors.reserve(sectors->size());
        for (std::size_t i = 0; i < sectors->size(); ++i) {
            level_.sectors.emplace_back();
            if (!readSector((*sectors)[i], element("sectors", i), level_.sectors.back())) {
                return false;
            }
        }
        return true;
    }

    bool readStart(const Json& root) {
        const Json* start = field(root, "", "start");
        if (start == nullptr) {
            return false;
        }
        if (!start->is_object()) {
            return fail("start", "must be an object with x, y and angle");
        }
        const Json* x = field(*start, "start", "x");
        const Json* y = x != nullptr ? field(*start, "start", "y") : nullptr;
        const Json* angle = y != nullptr ? field(*start, "start", "angle") : nullptr;
        return angle != nullptr && only(*start, "start", {"x", "y", "angle"}) &&
               number(*x, "start.x", maxLevelCoordinate, level_.startX) &&
               number(*y, "start.y", maxLevelCoordinate, level_.startY) &&
               number(*angle, "start.angle", maxLevelCoordinate, level_.startAngle);
    }

    // A size of the body: missing keeps the default; at least least (more than it
    // when open), at most most.
    bool bodySize(const Json& body, const char* key, float least, bool open, float most,
                  float& out) {
        const Json* value = optionalField(body, key);
        if (value == nullptr) {
            return true;
        }
        const std::string place = member("body", key);
        float size = 0.0f;
        if (!number(*value, place, maxLevelCoordinate, size)) {
            return false;
        }
        const bool aboveLeast = open ? size > least : size >= least;
        if (!aboveLeast || !(size <= most)) {
            std::ostringstream range;
            range << "must be " << (open ? "more than " : "from ") << least
                  << (open ? " and at most " : " to ") << most;
            return fail(place, range.str());
        }
        out = size;
        return true;
    }

    bool readBody(const Json& root) {
        const Json* body = optionalField(root, "body");
        if (body == nullptr) {
            return true;
        }
        if (!body->is_object()) {
            return fail("body", "must be an object with eye, height, step and radius");
        }
        WalkerBody& out = level_.body;
        if (!only(*body, "body", {"eye", "height", "step", "radius"}) ||
            !bodySize(*body, "height", 0.0f, true, mostBodyHeight, out.height) ||
            !bodySize(*body, "eye", 0.0f, true, mostBodyHeight, out.eye) ||
            !bodySize(*body, "step", 0.0f, false, mostBodyHeight, out.step) ||
            !bodySize(*body, "radius", leastBodyRadius, false, mostBodyRadius, out.radius)) {
            return false;
        }
        if (!(out.eye < out.height)) {
            return fail("body.eye", "must be below the body's height");
        }
        return true;
    }

    bool sectorIndex(const Json& object, const std::string& path, std::int32_t& out) {
        const Json* value = field(object, path, "sector");
        std::int64_t index = 0;
        if (value == nullptr ||
            !integer(*value, member(path, "sector"), 0,
                     static_cast<std::int64_t>(level_.sectors.size()) - 1, index)) {
            return false;
        }
        out = static_cast<std::int32_t>(index);
        return true;
    }

    bool optionalNumber(const Json& object, const std::string& path, const char* key, float least,
                        float most, float& out, bool* given = nullptr) {
        const Json* value = optionalField(object, key);
        if (value == nullptr) {
            return true;
        }
        const std::string place = member(path, key);
        if (!number(*value, place, maxLevelCoordinate, out)) {
            return false;
        }
        if (!(out >= least && out <= most)) {
            std::ostringstream range;
            range << "must be from " << least << " to " << most;
            return fail(place, range.str());
        }
        if (given != nullptr) {
            *given = true;
        }
        return true;
    }

    bool optionalFlag(const Json& object, const std::string& path, const char* key, bool& out) {
        const Json* value = optionalField(object, key);
        if (value == nullptr) {
            return true;
        }
        if (!value->is_boolean()) {
            return fail(member(path, key), "must be true or false");
        }
        out = value->get<bool>();
        return true;
    }

    std::int32_t moverOf(std::int32_t sector) const {
        for (std::size_t m = 0; m < level_.movers.size(); ++m) {
            if (level_.movers[m].sector == sector) {
                return static_cast<std::int32_t>(m);
            }
        }
        return -1;
    }

    bool readMovers(const Json& root, const char* key, bool lifts) {
        const Json* list = optionalField(root, key);
        if (list == nullptr) {
            return true;
        }
        if (!array(*list, key, 0, level_.sectors.size())) {
            return false;
        }
        for (std::size_t i = 0; i < list->size(); ++i) {
            const Json& entry = (*list)[i];
            const std::string path = element(key, i);
            if (!entry.is_object()) {
                return fail(path, "must be an object");
            }
            MoverDescription mover;
            mover.lift = lifts;
            mover.speed = lifts ? liftSpeed : doorSpeed;
            mover.wait = lifts ? liftWait : doorWait;
            const char* height = lifts ? "low-height" : "open-height";
            if (!(lifts ? only(entry, path, {"sector", "speed", "wait", "low-height", "comment"})
                        : only(entry, path,
                               {"sector", "speed", "wait", "open-height", "stays-open",
                                "comment"})) ||
                !sectorIndex(entry, path, mover.sector) ||
                !optionalNumber(entry, path, "speed", 0.001f, maxMotionSpeed, mover.speed) ||
                !optionalNumber(entry, path, "wait", 0.0f, maxMoverWait, mover.wait) ||
                !optionalNumber(entry, path, height, -maxLevelCoordinate, maxLevelCoordinate,
                                mover.height, &mover.heightGiven) ||
                !optionalFlag(entry, path, "stays-open", mover.stays)) {
                return false;
            }
            const std::string sectorPath = member(path, "sector");
            if (moverOf(mover.sector) >= 0) {
                return fail(sectorPath, "sectors[" + std::to_string(mover.sector) +
                                            "] already has a door or a lift");
            }
            if (level_.sectors[static_cast<std::size_t>(mover.sector)].motion.moves) {
                return fail(sectorPath, "sectors[" + std::to_string(mover.sector) +
                                            "] already moves with its \"motion\"");
            }
            level_.movers.push_back(mover);
        }
        return true;
    }

    bool readTrigger(const Json& entry, const std::string& path, TriggerDescription& trigger) {
        if (!entry.is_object()) {
            return fail(path, "must be an object");
        }
        if (optionalField(entry, "line") != nullptr) {
            return readDrawnLine(entry, path, trigger) && readTargets(entry, path, trigger);
        }
        const Json* edge = field(entry, path, "edge");
        const Json* on = edge != nullptr ? field(entry, path, "on") : nullptr;
        std::int64_t edgeIndex = 0;
        std::string how;
        if (!only(entry, path, {"sector", "edge", "on", "once", "sectors", "comment"}) ||
            !sectorIndex(entry, path, trigger.sector) || on == nullptr) {
            return false;
        }
        const std::int32_t edges =
            level_.sectors[static_cast<std::size_t>(trigger.sector)].edgeCount();
        if (!integer(*edge, member(path, "edge"), 0, edges - 1, edgeIndex) ||
            !text(*on, member(path, "on"), how) ||
            !optionalFlag(entry, path, "once", trigger.once)) {
            return false;
        }
        if (how != "use" && how != "walk") {
            return fail(member(path, "on"), "must be \"use\" or \"walk\"");
        }
        trigger.edge = static_cast<std::int32_t>(edgeIndex);
        trigger.walk = how == "walk";
        return readTargets(entry, path, trigger);
    }

    // A walk line drawn between two points, across a room rather than along an
    // edge: "line": [from, to].
    bool readDrawnLine(const Json& entry, const std::string& path, TriggerDescription& trigger) {
        const Json* on = field(entry, path, "on");
        std::string how;
        if (!only(entry, path, {"line", "on", "once", "sectors", "comment"}) || on == nullptr ||
            !text(*on, member(path, "on"), how) ||
            !optionalFlag(entry, path, "once", trigger.once)) {
            return false;
        }
        if (how != "walk") {
            return fail(member(path, "on"),
                        "must be \"walk\" for a \"line\"; a used line is an edge of a sector");
        }
        const Json& line = entry["line"];
        const std::string place = member(path, "line");
        std::int64_t ends[2] = {0, 0};
        if (!array(line, place, 2, 2)) {
            return false;
        }
        for (std::size_t k = 0; k < 2; ++k) {
            if (!integer(line[k], element(place, k), 0,
                         static_cast<std::int64_t>(level_.vertexX.size()) - 1, ends[k])) {
                return false;
            }
        }
        const auto a = static_cast<std::size_t>(ends[0]);
        const auto b = static_cast<std::size_t>(ends[1]);
        if (level_.vertexX[a] == level_.vertexX[b] && level_.vertexY[a] == level_.vertexY[b]) {
            return fail(place, "its two points lie at the same place");
        }
        trigger.walk = true;
        trigger.from = static_cast<std::int32_t>(a);
        trigger.to = static_cast<std::int32_t>(b);
        return true;
    }

    bool readTargets(const Json& entry, const std::string& path, TriggerDescription& trigger) {
        const Json* targets = optionalField(entry, "sectors");
        if (targets == nullptr) {
            if (trigger.walk) {
                return fail(path, "a \"walk\" line needs \"sectors\" to act on");
            }
            return true;
        }
        const std::string place = member(path, "sectors");
        if (!array(*targets, place, 1, level_.movers.size())) {
            return false;
        }
        for (std::size_t k = 0; k < targets->size(); ++k) {
            std::int64_t sector = 0;
            if (!integer((*targets)[k], element(place, k), 0,
                         static_cast<std::int64_t>(level_.sectors.size()) - 1, sector)) {
                return false;
            }
            if (moverOf(static_cast<std::int32_t>(sector)) < 0) {
                return fail(element(place, k),
                            "sectors[" + std::to_string(sector) + "] has no door or lift");
            }
            trigger.targets.push_back(static_cast<std::int32_t>(sector));
        }
        return true;
    }

    bool readTriggers(const Json& root) {
        const Json* list = optionalField(root, "triggers");
        if (list == nullptr) {
            return true;
        }
        if (!array(*list, "triggers", 0, static_cast<std::size_t>(maxLevelEdges))) {
            return false;
        }
        for (std::size_t i = 0; i < list->size(); ++i) {
            level_.triggers.emplace_back();
            if (!readTrigger((*list)[i], element("triggers", i), level_.triggers.back())) {
                return false;
            }
        }
        return true;
    }

    bool readPicture(const Json& value, const std::string& path, SpritePicture& out) {
        if (!value.is_object()) {
            return fail(path, "must be an object with texture and foot");
        }
        if (!only(value, path, {"texture", "mirrored", "foot"}) ||
            !readTextureName(value, path, "texture", true, out.texture) ||
            !readFlag(value, path, "mirrored", out.mirrored)) {
            return false;
        }
        const Json* foot = field(value, path, "foot");
        if (foot == nullptr) {
            return false;
        }
        const std::string place = member(path, "foot");
        if (!foot->is_array() || foot->size() != 2) {
            return fail(place, "must be [x, y], the texel on the thing's foot");
        }
        return number((*foot)[0], element(place, 0), maxTextureOffset, out.footX) &&
               number((*foot)[1], element(place, 1), maxTextureOffset, out.footY);
    }

    bool readFrame(const Json& value, const std::string& path, SpriteFrame& out) {
        if (!value.is_array() || (value.size() != 1 && value.size() != spriteRotations)) {
            return fail(path, "must be a list of 1 picture (seen alike from every side) or 8 "
                              "(by the side it is seen from)");
        }
        out.pictures.resize(value.size());
        for (std::size_t i = 0; i < value.size(); ++i) {
            if (!readPicture(value[i], element(path, i), out.pictures[i])) {
                return false;
            }
        }
        return true;
    }

    bool readSprite(const Json& value, const std::string& path, SpriteDescription& out) {
        if (!value.is_object()) {
            return fail(path, "must be an object with name and frames");
        }
        const Json* spriteName = field(value, path, "name");
        const Json* frames = spriteName != nullptr ? field(value, path, "frames") : nullptr;
        if (frames == nullptr ||
            !only(value, path,
                  {"name", "frames", "frames-per-second", "texels-per-unit", "comment"}) ||
            !name(*spriteName, member(path, "name"), "the sprite name", out.name) ||
            !array(*frames, member(path, "frames"), 1, static_cast<std::size_t>(maxSpriteFrames)) ||
            !optionalNumber(value, path, "frames-per-second", 0.0f, maxMotionSpeed,
                            out.framesPerSecond) ||
            !optionalNumber(value, path, "texels-per-unit", 1.0f, maxTexelsPerUnit,
                            out.texelsPerUnit)) {
            return false;
        }
        if (out.name.empty()) {
            return fail(member(path, "name"), "the sprite name is empty");
        }
        for (const SpriteDescription& earlier : level_.sprites) {
            if (earlier.name == out.name) {
                return fail(member(path, "name"),
                            "a sprite named \"" + printable(out.name) + "\" is given twice");
            }
        }
        out.frames.resize(frames->size());
        for (std::size_t i = 0; i < frames->size(); ++i) {
            if (!readFrame((*frames)[i], element(member(path, "frames"), i), out.frames[i])) {
                return false;
            }
        }
        return true;
    }

    bool readSprites(const Json& root) {
        const Json* list = optionalField(root, "sprites");
        if (list == nullptr) {
            return true;
        }
        if (!array(*list, "sprites", 0, static_cast<std::size_t>(maxLevelSprites))) {
            return false;
        }
        for (std::size_t i = 0; i < list->size(); ++i) {
            SpriteDescription sprite;
            if (!readSprite((*list)[i], element("sprites", i), sprite)) {
                return false;
            }
            level_.sprites.push_back(std::move(sprite));
        }
        return true;
    }

    bool readThing(const Json& value, const std::string& path, ThingDescription& out) {
        if (!value.is_object()) {
            return fail(path, "must be an object with x, y and sprite");
        }
        const Json* x = field(value, path, "x");
        const Json* y = x != nullptr ? field(value, path, "y") : nullptr;
        const Json* sprite = y != nullptr ? field(value, path, "sprite") : nullptr;
        if (sprite == nullptr ||
            !only(
                value, path,
                {"x", "y", "angle", "sprite", "hanging", "bright", "solid", "radius", "comment"}) ||
            !number(*x, member(path, "x"), maxLevelCoordinate, out.x) ||
            !number(*y, member(path, "y"), maxLevelCoordinate, out.y) ||
            !optionalNumber(value, path, "angle", -maxLevelCoordinate, maxLevelCoordinate,
                            out.angle) ||
            !name(*sprite, member(path, "sprite"), "the sprite name", out.sprite) ||
            !readFlag(value, path, "hanging", out.hanging) ||
            !readFlag(value, path, "bright", out.bright) ||
            !readFlag(value, path, "solid", out.solid) ||
            !optionalNumber(value, path, "radius", 0.0f, maxThingRadius, out.radius)) {
            return false;
        }
        bool known = false;
        for (const SpriteDescription& description : level_.sprites) {
            known = known || description.name == out.sprite;
        }
        if (!known) {
            return fail(member(path, "sprite"),
                        "no sprite is named \"" + printable(out.sprite) + "\" in \"sprites\"");
        }
        if (out.solid && !(out.radius > 0.0f)) {
            return fail(member(path, "radius"), "a solid thing needs a radius above 0");
        }
        return true;
    }

    bool readThings(const Json& root) {
        const Json* list = optionalField(root, "things");
        if (list == nullptr) {
            return true;
        }
        if (!array(*list, "things", 0, static_cast<std::size_t>(maxLevelThings))) {
            return false;
        }
        level_.things.resize(list->size());
        for (std::size_t i = 0; i < list->size(); ++i) {
            if (!readThing((*list)[i], element("things", i), level_.things[i])) {
                return false;
            }
        }
        return true;
    }

    LevelDescription& level_;
    std::string problem_;
};

// A used line without "sectors" acts on the door or lift behind it: it must be
// an opening, and the sector behind must have one.
bool checkUsedLines(const LevelDescription& level, std::string& problem) {
    std::vector<std::vector<std::int32_t>> portals;
    for (std::size_t i = 0; i < level.triggers.size(); ++i) {
        const TriggerDescription& trigger = level.triggers[i];
        if (trigger.walk || !trigger.targets.empty()) {
            continue;
        }
        if (portals.empty()) {
            portals = findPortals(level);
        }
        const std::int32_t behind = portals[static_cast<std::size_t>(trigger.sector)]
                                           [static_cast<std::size_t>(trigger.edge)];
        const std::string place = "triggers[" + std::to_string(i) + "]";
        if (behind < 0) {
            problem = place + ": edge " + std::to_string(trigger.edge) + " of sectors[" +
                      std::to_string(trigger.sector) +
                      "] is a solid wall; a line without \"sectors\" acts on the sector behind it";
            return false;
        }
        bool moves = false;
        for (const MoverDescription& mover : level.movers) {
            moves = moves || mover.sector == behind;
        }
        if (!moves) {
            problem = place + ": the sector behind it, sectors[" + std::to_string(behind) +
                      "], has no door or lift";
            return false;
        }
    }
    return true;
}

// Every thing stands in a sector: the one it is drawn in and lit by.
bool checkThingPlaces(const LevelDescription& level, std::string& problem) {
    for (std::size_t i = 0; i < level.things.size(); ++i) {
        const ThingDescription& thing = level.things[i];
        if (sectorHolding(level, thing.x, thing.y) < 0) {
            std::ostringstream text;
            text << "things[" << i << "]: (" << thing.x << ", " << thing.y
                 << ") lies outside every sector";
            problem = text.str();
            return false;
        }
    }
    return true;
}

} // namespace

std::string printable(const std::string& text) {
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '"' || c == '\\') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        } else {
            shown += c;
        }
    }
    return shown;
}

bool parseLevelText(const std::string& text, const std::string& label, LevelDescription& level,
                    std::string& error) {
    level = LevelDescription{};
    SyntaxCheck syntax(text);
    if (!Json::sax_parse(text, &syntax) || !syntax.problem.empty()) {
        error = label + ": " + (syntax.problem.empty() ? "not valid JSON" : syntax.problem);
        return false;
    }
    const Json root = Json::parse(text, nullptr, false);
    if (root.is_discarded()) {
        error = label + ": not valid JSON";
        return false;
    }
    FieldReader reader(level);
    std::string problem;
    if (!reader.read(root)) {
        problem = reader.problem();
    } else if (!checkLevelGeometry(level, problem) || !checkUsedLines(level, problem) ||
               !checkThingPlaces(level, problem)) {
        // the problem says where
    } else {
        return true;
    }
    error = label + ": " + problem;
    return false;
}

bool readLevelFile(const std::string& path, LevelDescription& level, std::string& error) {
    // Only a regular file is opened: a pipe or a terminal (/dev/stdin) would hold
    // the program until someone writes to it, a folder has no size worth saying.
    std::error_code status;
    const std::filesystem::file_status kind = std::filesystem::status(path, status);
    if (kind.type() == std::filesystem::file_type::not_found) {
        error = path + ": cannot be opened: there is no such file";
        return false;
    }
    if (kind.type() == std::filesystem::file_type::directory) {
        error = path + ": is a folder, not a level file";
        return false;
    }
    if (!status && kind.type() != std::filesystem::file_type::regular) {
        error = path + ": is not a regular file (a device, pipe or socket); a level is read "
                       "from a file";
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": cannot be opened";
        return false;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, status);
    if (status) {
        error = path + ": cannot be read";
        return false;
    }
    if (size > static_cast<std::uintmax_t>(maxLevelFileBytes)) {
        error = path + ": the file has " + std::to_string(size) +
                " bytes; a level file may have at most 16 MB (" +
                std::to_string(maxLevelFileBytes) + " bytes)";
        return false;
    }
    std::string text(static_cast<std::size_t>(size), '\0');
    if (!file.read(text.data(), static_cast<std::streamsize>(size))) {
        error = path + ": cannot be read";
        return false;
    }
    return parseLevelText(text, path, level, error);
}
