#include "dump_tree.h"

#include <array>

namespace korvel::ui {

namespace {

// Node labels are built by hand rather than with printf: a rebuild makes 504 of them. A number
// below 10 is padded to two places with `pad` ('0' for "%02d", ' ' for "%2d"), or not at all.
std::string Label(const char* prefix, int number, char pad) {
    std::string text(prefix);
    if (number >= 10) {
        text += static_cast<char>('0' + number / 10);
    } else if (pad != '\0') {
        text += pad;
    }
    text += static_cast<char>('0' + number % 10);
    return text;
}

std::string BankLabel(int bank) {
    return Label("Bank ", bank + 1, '0');
}
std::string PlaylistLabel(int bank) {
    return Label("Playlist B", bank + 1, '0');
}
std::string TrackLabel(int track) {
    return Label("Track ", track + 1, '\0');
}
std::string PatternLabel(int pattern) {
    return Label("Pattern ", pattern + 1, ' ');
}

FillState Combine(int full, int empty, int count) {
    if (full == count) {
        return kFull;
    }
    return empty == count ? kEmpty : kPartial;
}

// Sets a node's icon or text when it differs, and notes what changed.
class Updater {
  public:
    Updater(std::vector<NodeChange>& changes, TextRule texts) : changes_(changes), texts_(texts) {}

    // `name` replaces the node's text when it is not empty; otherwise, when defaults are put
    // back, `defaultText` does.
    void Apply(TreeNode& node, const NodePath& path, int icon, const std::string& name,
               const std::string& defaultText) {
        NodeChange change{path};
        if (node.icon != icon) {
            node.icon = icon;
            change.icon = true;
        }
        const std::string* text = !name.empty()                         ? &name
                                  : texts_ == TextRule::restoreDefaults ? &defaultText
                                                                        : nullptr;
        if (text != nullptr && node.text != *text) {
            node.text = *text;
            change.text = true;
        }
        if (change.icon || change.text) {
            changes_.push_back(change);
        }
    }

  private:
    std::vector<NodeChange>& changes_;
    TextRule texts_;
};

}  // namespace

FillState PatternFill(const DumpImage& image, int bank, int track, int pattern) {
    return image.IsPatternEmpty(bank, track, pattern) ? kEmpty : kFull;
}

FillState TrackFill(const DumpImage& image, int bank, int track) {
    const int count = image.PatternsPerTrack();
    int full = 0;
    for (int p = 0; p < count; ++p) {
        full += PatternFill(image, bank, track, p) == kFull ? 1 : 0;
    }
    return Combine(full, count - full, count);
}

FillState PlaylistFill(const DumpImage& image, int bank) {
    return image.AreBankPlaylistsEmpty(bank) ? kEmpty : kFull;
}

FillState BankFill(const DumpImage& image, int bank) {
    int full = 0;
    int empty = 0;
    const auto count = [&full, &empty](FillState state) {
        full += state == kFull ? 1 : 0;
        empty += state == kEmpty ? 1 : 0;
    };
    count(PlaylistFill(image, bank));
    for (int t = 0; t < kTracksPerBank; ++t) {
        count(TrackFill(image, bank, t));
    }
    return Combine(full, empty, kTracksPerBank + 1);
}

Forest Rebuild(const DumpImage& image) {
    Forest forest;
    forest.reserve(static_cast<std::size_t>(image.BankCount()));
    const int patternsPerTrack = image.PatternsPerTrack();
    for (int b = 0; b < image.BankCount(); ++b) {
        TreeNode bank;
        const std::string name = image.GetBankName(b);
        bank.text = name.empty() ? BankLabel(b) : name;
        bank.tag = MakeItemTag(kBankKind, b);
        bank.icon = kBankIcon + BankFill(image, b);
        bank.children.reserve(1 + kTracksPerBank);
        bank.children.push_back({PlaylistLabel(b),
                                 kPlaylistIcon + PlaylistFill(image, b),
                                 MakeItemTag(kPlaylistKind, b),
                                 {}});
        for (int t = 0; t < kTracksPerBank; ++t) {
            TreeNode track{TrackLabel(t),
                           kTrackIcon + TrackFill(image, b, t),
                           MakeItemTag(kTrackKind, b, t),
                           {}};
            track.children.reserve(static_cast<std::size_t>(patternsPerTrack));
            for (int p = 0; p < patternsPerTrack; ++p) {
                track.children.push_back({PatternLabel(p),
                                          kPatternIcon + PatternFill(image, b, t, p),
                                          MakeItemTag(kPatternKind, b, t, p),
                                          {}});
            }
            bank.children.push_back(std::move(track));
        }
        forest.push_back(std::move(bank));
    }
    return forest;
}

std::vector<NodeChange> Refresh(const DumpImage& image, Forest& forest, TextRule texts) {
    std::vector<NodeChange> changes;
    Updater updater(changes, texts);
    const int patternsPerTrack = image.PatternsPerTrack();
    for (int b = 0; b < image.BankCount() && b < static_cast<int>(forest.size()); ++b) {
        TreeNode& bank = forest[static_cast<std::size_t>(b)];
        auto& children = bank.children;
        if (!children.empty()) {
            updater.Apply(children[0], {b, 0}, kPlaylistIcon + PlaylistFill(image, b),
                          image.GetPlaylistName(b), PlaylistLabel(b));
        }
        for (int t = 0; t < kTracksPerBank && t + 1 < static_cast<int>(children.size()); ++t) {
            TreeNode& track = children[static_cast<std::size_t>(t + 1)];
            for (int p = 0; p < patternsPerTrack && p < static_cast<int>(track.children.size());
                 ++p) {
                updater.Apply(track.children[static_cast<std::size_t>(p)], {b, t + 1, p},
                              kPatternIcon + PatternFill(image, b, t, p),
                              image.GetPatternName(b, t, p), PatternLabel(p));
            }
            updater.Apply(track, {b, t + 1}, kTrackIcon + TrackFill(image, b, t),
                          image.GetTrackName(b, t), TrackLabel(t));
        }
        // The bank text is always rewritten, so a deleted bank shows its default label again.
        const std::string name = image.GetBankName(b);
        updater.Apply(bank, {b}, kBankIcon + BankFill(image, b), name.empty() ? BankLabel(b) : name,
                      BankLabel(b));
    }
    return changes;
}

const TreeNode* FindNode(const Forest& forest, const NodePath& path) {
    if (path.bank < 0 || path.bank >= static_cast<int>(forest.size())) {
        return nullptr;
    }
    const TreeNode* node = &forest[static_cast<std::size_t>(path.bank)];
    if (path.child < 0) {
        return node;
    }
    if (path.child >= static_cast<int>(node->children.size())) {
        return nullptr;
    }
    node = &node->children[static_cast<std::size_t>(path.child)];
    if (path.pattern < 0) {
        return node;
    }
    if (path.pattern >= static_cast<int>(node->children.size())) {
        return nullptr;
    }
    return &node->children[static_cast<std::size_t>(path.pattern)];
}

std::size_t CountNodes(const Forest& forest) {
    std::size_t count = 0;
    for (const auto& node : forest) {
        count += 1 + CountNodes(node.children);
    }
    return count;
}

}  // namespace korvel::ui
