#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <unordered_set>
#include <vector>

// What a level reader noticed but did not refuse: things a file allows that are
// almost surely not meant (a T-junction, overlapping sectors, a closed opening),
// and decisions an importer took on the author's behalf. The programs print them
// when the level is loaded; duskhall-render --warnings lists them and stops.
struct LevelWarning {
    std::string place; // where in the file, like sectors[3].outline[2]; may be empty
    std::string text;  // what was noticed, one line
};

class LevelWarnings {
  public:
    // The most kept; a level with more says how many it left out.
    static constexpr std::size_t mostKept = 100;

    // Keeps the warning unless the same place and text were given before.
    void add(const std::string& place, const std::string& text);
    // Keeps the warning only the first time topic is given, for a decision taken
    // many times over (every linedef of one kind, say): it is reported once.
    void addOnce(const std::string& topic, const std::string& place, const std::string& text);

    const std::vector<LevelWarning>& all() const { return kept_; }
    bool empty() const { return kept_.empty(); }
    // How many distinct warnings came beyond mostKept.
    std::size_t leftOut() const { return leftOut_; }
    void clear();

    // Writes each as "<lead>warning: place: text", then how many were left out.
    void print(std::FILE* to, const std::string& lead) const;

    // "place: text", or the text alone when it names no place.
    static std::string line(const LevelWarning& warning);

  private:
    void keep(const std::string& place, const std::string& text);

    std::vector<LevelWarning> kept_;
    std::unordered_set<std::string> seen_; // lines and topics already given
    std::size_t leftOut_ = 0;
};
