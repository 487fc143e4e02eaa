#include "music/score.h"

#include <stdexcept>

#include "common/text_source.h"

namespace vesk::assetgen {

namespace {

// What the lines after a heading belong to.
struct Reader {
    Score score;
    enum class Block { kNone, kDrums, kMelody, kSection } block = Block::kNone;
    std::string name;

    void Heading(const SourceLine& line, const std::vector<std::string>& w);
    void InBlock(const SourceLine& line, const std::vector<std::string>& w);
    void SectionLine(const SourceLine& line, const std::vector<std::string>& w);
};

float ToFloat(const std::string& word) { return std::stof(word); }

void Reader::Heading(const SourceLine& line, const std::vector<std::string>& w) {
    block = Block::kNone;
    if (w[0] == "frames" && w.size() == 2) {
        score.frames = std::stol(w[1]);
    } else if (w[0] == "loudest" && w.size() == 2) {
        score.loudest = ToFloat(w[1]);
    } else if (w[0] == "level" && w.size() == 3) {
        score.levels[w[1]] = ToFloat(w[2]);
    } else if (w[0] == "rhythm" && w.size() == 3) {
        score.rhythms[w[1]] = w[2];
    } else if (w[0] == "drums" && w.size() == 2) {
        block = Block::kDrums, name = w[1];
        score.drums[name];
    } else if (w[0] == "melody" && w.size() == 2) {
        block = Block::kMelody, name = w[1];
        score.melodies[name];
    } else if (w[0] == "section" && w.size() >= 4) {
        block = Block::kSection;
        Section section{w[1], {}, 0, 1, 1, {}, {}, line.number};
        for (std::size_t i = 2; i + 1 < w.size(); i += 2) {
            if (w[i] == "at")
                section.at = std::stod(w[i + 1]);
            else if (w[i] == "beats")
                section.beats = std::stoi(w[i + 1]);
            else
                throw std::runtime_error(AtLine(line, "unknown section setting " + w[i]));
        }
        if (section.beats <= 0) throw std::runtime_error(AtLine(line, "a section needs beats"));
        score.sections.push_back(section);
    } else {
        throw std::runtime_error(AtLine(line, "unknown statement '" + w[0] + "'"));
    }
}

void Reader::SectionLine(const SourceLine& line, const std::vector<std::string>& w) {
    Section& section = score.sections.back();
    if (w[0] == "gain" && w.size() == 3) {
        section.gainFrom = ToFloat(w[1]), section.gainTo = ToFloat(w[2]);
    } else if (w[0] == "chords") {
        section.chords.assign(w.begin() + 1, w.end());
    } else {
        Part part;
        for (std::size_t i = 1; i < w.size(); ++i) {
            if (w[i][0] == '*')
                part.level = ToFloat(w[i].substr(1));
            else
                part.patterns.push_back(w[i]);
        }
        if (!section.parts.emplace(w[0], part).second)
            throw std::runtime_error(AtLine(line, "part given twice: " + w[0]));
    }
}

void Reader::InBlock(const SourceLine& line, const std::vector<std::string>& w) {
    if (block == Block::kDrums && w.size() == 2) {
        score.drums[name][w[0]] = w[1];
    } else if (block == Block::kMelody) {
        auto& tokens = score.melodies[name];
        tokens.insert(tokens.end(), w.begin(), w.end());
    } else if (block == Block::kSection) {
        SectionLine(line, w);
    } else {
        throw std::runtime_error(AtLine(line, "indented line outside a block"));
    }
}

Score ReadLines(const std::vector<SourceLine>& lines) {
    Reader reader;
    for (const SourceLine& line : lines) {
        std::vector<std::string> words = SplitWords(line.text);
        bool indented = line.text[0] == ' ' || line.text[0] == '\t';
        try {
            if (indented)
                reader.InBlock(line, words);
            else
                reader.Heading(line, words);
        } catch (const std::invalid_argument&) {
            throw std::runtime_error(AtLine(line, "a number was expected"));
        }
    }
    if (reader.score.sections.empty() || !reader.score.sections.front().at)
        throw std::runtime_error("the first section needs a time");
    return reader.score;
}

}  // namespace

Score ReadScore(const std::string& path) { return ReadLines(ReadSourceLines(path)); }

Score ParseScore(const std::string& text) { return ReadLines(SplitSourceLines(text)); }

}  // namespace vesk::assetgen
