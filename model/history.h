// One pane's undo history: the steps that changed its image, where the pane now stands among
// them, and the step at which it was last opened, created or saved.
#pragma once

#include "dump_image.h"
#include "image_change.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

namespace korvel {

struct HistoryStep {
    std::string label;  // what the step did, as "copy of B01 T03 into B04 T01"
    ImageChange change;
};

class History {
  public:
    static constexpr std::size_t kDefaultLimit = 200;
    explicit History(std::size_t limit = kDefaultLimit) : limit_(limit == 0 ? 1 : limit) {}

    // Adds a step after the current one; the steps that could have been redone are gone, and
    // past the limit the oldest goes first.
    void Push(HistoryStep step);
    // Forgets every step; the pane stands at its saved step.
    void Clear();
    void MarkSaved() { saved_ = position_; }
    // The image as it stands was never saved (it came from the W2): changed at every step.
    void MarkNeverSaved() { saved_.reset(); }
    // True when the pane does not stand at the step where it was last saved.
    bool IsChanged() const { return saved_ != position_; }

    const HistoryStep* NextUndo() const;
    const HistoryStep* NextRedo() const;
    // Puts the image back to before the next undo step, or forward to after the next redo
    // step; the step done, or null when there is none.
    const HistoryStep* Undo(DumpImage& image);
    const HistoryStep* Redo(DumpImage& image);

    std::size_t Size() const { return steps_.size(); }
    std::size_t HeldBytes() const;

  private:
    std::size_t limit_;
    std::deque<HistoryStep> steps_;
    std::size_t position_ = 0;  // steps before it are done
    // Where the saved state lies; none once the steps that led to it are gone.
    std::optional<std::size_t> saved_ = 0;
};

}  // namespace korvel
