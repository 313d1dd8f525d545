// One dump as the user works on it: its image, the file it came from or was saved to, and the
// history of its edits with the step at which it was saved. Every change of its state is
// reported through one callback, so a view never has to find out what happened itself.
#pragma once

#include "dump_image.h"
#include "edits.h"
#include "history.h"
#include "item.h"
#include "side_file.h"

#include <functional>
#include <memory>
#include <span>
#include <string>

namespace korvel {

enum class DocumentChange {
    replaced,  // a new image: opened, new or received
    layout,    // the same messages grouped under another layout
    edited,    // an edit ran: contents or names may have changed
    restored,  // an undo or redo put contents and names back
    saved,     // written to a file: its name and its modified state changed
};

struct DocumentEvent {
    DocumentChange change;
    bool historyMoved = false;  // a step was added, undone, redone or all were forgotten
};

// What Open read: the dump, and whether its bank names could be read beside it.
struct [[nodiscard]] OpenResult {
    LoadResult loaded;
    Outcome names;  // the reason when a side file is there but could not be read
    bool ok() const { return loaded.ok(); }
};

// Reads a dump file into a fresh image; replaceable so that tests can stage read failures.
using DumpLoader = std::function<LoadResult(DumpImage&, const std::string&)>;

class Document {
  public:
    using Listener = std::function<void(const DocumentEvent&)>;

    Document();

    void SetListener(Listener listener) { listener_ = std::move(listener); }
    void SetLoader(DumpLoader loader) { loader_ = std::move(loader); }

    const DumpImage& Image() const { return *image_; }
    // The file last opened or saved ("" for none), where Save starts.
    const std::string& Path() const { return path_; }
    // What the user sees of the path: the file name alone.
    std::string FileName() const;
    // What Save proposes for a dump that has no file yet.
    const std::string& ProposedName() const { return proposedName_; }
    const History& Steps() const { return history_; }
    // Edited since it was opened, created or saved, and not undone back to that point; or
    // saved without its bank names.
    bool IsModified() const { return history_.IsChanged() || namesUnsaved_; }

    // Reads the dump and its bank names; the document is unchanged when the read fails. The
    // new image has the twelve banks of a fresh one, whatever layout this one had.
    OpenResult Open(const std::string& path);
    void New();
    // Messages that came from the W2: never saved, so modified from the start. What the load
    // passed over, which stays only in the backup.
    LoadReport FromReceived(std::span<const std::uint8_t> messages, std::string proposedName);
    // Saves the dump and its side file; on a failure of the dump nothing changes. When only the
    // side file fails, the document stays modified: its bank names are not saved.
    DumpSaveResult Save(const std::string& path);

    void SetLayout(MemoryLayout layout);

    // The edits; each adds one undo step when it changed anything, and is reported as edited
    // unless it was refused.
    EditResult Transfer(const Document& source, const Item& from, const Item& to);
    EditResult Delete(const Item& item);
    EditResult Rename(const Item& item, const std::string& text);
    // The step undone or redone, or null when there is none.
    const HistoryStep* Undo();
    const HistoryStep* Redo();

  private:
    void Replace(std::unique_ptr<DumpImage> image);
    // Adds the edit's change to the history and reports it.
    EditResult Record(std::string label, EditResult result);
    void Tell(DocumentChange change, bool historyMoved);

    DumpLoader loader_;
    Listener listener_;
    std::unique_ptr<DumpImage> image_ = std::make_unique<DumpImage>();
    std::string path_;
    std::string proposedName_;
    History history_;
    bool namesUnsaved_ = false;
};

}  // namespace korvel
