#include "history.h"

namespace korvel {

void History::Push(HistoryStep step) {
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(position_), steps_.end());
    if (saved_ && *saved_ > position_) {
        saved_.reset();  // the saved state lay among the steps just dropped
    }
    steps_.push_back(std::move(step));
    ++position_;
    if (steps_.size() > limit_) {
        steps_.pop_front();
        --position_;
        if (saved_) {
            saved_ = *saved_ == 0 ? std::nullopt : std::optional(*saved_ - 1);
        }
    }
}

void History::Clear() {
    steps_.clear();
    position_ = 0;
    saved_ = 0;
}

const HistoryStep* History::NextUndo() const {
    return position_ > 0 ? &steps_[position_ - 1] : nullptr;
}

const HistoryStep* History::NextRedo() const {
    return position_ < steps_.size() ? &steps_[position_] : nullptr;
}

const HistoryStep* History::Undo(DumpImage& image) {
    const HistoryStep* step = NextUndo();
    if (step != nullptr) {
        image.Restore(step->change.before);
        --position_;
    }
    return step;
}

const HistoryStep* History::Redo(DumpImage& image) {
    const HistoryStep* step = NextRedo();
    if (step != nullptr) {
        image.Restore(step->change.after);
        ++position_;
    }
    return step;
}

std::size_t History::HeldBytes() const {
    std::size_t bytes = sizeof(*this);
    for (const auto& step : steps_) {
        bytes += step.label.capacity() + step.change.HeldBytes();
    }
    return bytes;
}

}  // namespace korvel
