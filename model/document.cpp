#include "document.h"

#include "paths.h"

namespace korvel {

Document::Document()
    : loader_([](DumpImage& image, const std::string& path) { return image.LoadFile(path); }) {}

std::string Document::FileName() const {
    return FileNameOf(path_);
}

void Document::Tell(DocumentChange change, bool historyMoved) {
    if (listener_) {
        listener_({change, historyMoved});
    }
}

void Document::Replace(std::unique_ptr<DumpImage> image) {
    image_ = std::move(image);
    history_.Clear();
    namesUnsaved_ = false;
}

OpenResult Document::Open(const std::string& path) {
    auto image = std::make_unique<DumpImage>();
    OpenResult opened{loader_(*image, path), {}};
    if (!opened.ok()) {
        // Nothing of a file read only in part is kept, so it cannot be saved over the file.
        return opened;
    }
    opened.names = ReadBankNamesBeside(*image, path);
    Replace(std::move(image));
    path_ = path;
    proposedName_.clear();
    Tell(DocumentChange::replaced, true);
    return opened;
}

void Document::New() {
    Replace(std::make_unique<DumpImage>());
    path_.clear();
    proposedName_.clear();
    Tell(DocumentChange::replaced, true);
}

LoadReport Document::FromReceived(std::span<const std::uint8_t> messages,
                                  std::string proposedName) {
    auto image = std::make_unique<DumpImage>();
    // What a receive kept is parsed as a file is.
    LoadResult loaded = image->Load(messages);
    Replace(std::move(image));
    history_.MarkNeverSaved();
    path_.clear();
    proposedName_ = std::move(proposedName);
    Tell(DocumentChange::replaced, true);
    return std::move(loaded.report);
}

DumpSaveResult Document::Save(const std::string& path) {
    DumpSaveResult saved = SaveDumpWithBankNames(*image_, path);
    if (saved.dump.ok()) {
        path_ = path;
        proposedName_.clear();
        history_.MarkSaved();
        namesUnsaved_ = !saved.names.ok();
        Tell(DocumentChange::saved, false);
    }
    return saved;
}

void Document::SetLayout(MemoryLayout layout) {
    image_->SetLayout(layout);
    Tell(DocumentChange::layout, false);
}

EditResult Document::Record(std::string label, EditResult result) {
    if (result.status == EditStatus::refused) {
        return result;
    }
    const bool changed = !result.change.IsEmpty();
    if (changed) {
        // A copy that stopped part way has changed the image too: what it copied is one step.
        history_.Push({std::move(label), std::move(result.change)});
    }
    Tell(DocumentChange::edited, changed);
    return result;
}

EditResult Document::Transfer(const Document& source, const Item& from, const Item& to) {
    return Record("copy of " + ItemName(from) + " into " + ItemName(to),
                  TransferItem(*image_, *source.image_, from, to));
}

EditResult Document::Delete(const Item& item) {
    return Record("delete of " + ItemName(item), DeleteItem(*image_, item));
}

EditResult Document::Rename(const Item& item, const std::string& text) {
    return Record("rename of " + ItemName(item), RenameItem(*image_, item, text));
}

const HistoryStep* Document::Undo() {
    const HistoryStep* step = history_.Undo(*image_);
    if (step != nullptr) {
        Tell(DocumentChange::restored, true);
    }
    return step;
}

const HistoryStep* Document::Redo() {
    const HistoryStep* step = history_.Redo(*image_);
    if (step != nullptr) {
        Tell(DocumentChange::restored, true);
    }
    return step;
}

}  // namespace korvel
