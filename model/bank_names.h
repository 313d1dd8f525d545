// The two rules for bank names: what the user sees of a stored name, and what Rename stores.
#pragma once

#include <string>

namespace korvel {

// A stored name less its first three characters (its "%02d " number); empty for a name of three
// characters or fewer, and for "Bank %02d", which is what Rename stores for an empty text.
std::string VisibleBankText(const std::string& storedName);

// "Bank %02d": a bank renamed to nothing, named as if it had no name.
bool IsUnnamedForm(const std::string& storedName);

// "%02d %s" with the one-based bank number and the text, as a bank copy carries a name over.
std::string NumberedBankName(int bank, const std::string& text);

// What Rename stores: the numbered name, or "Bank %02d" for an empty text.
std::string RenamedBankName(int bank, const std::string& text);

// "Bank %02d": an unnamed bank as the tree labels it.
std::string DefaultBankName(int bank);

// Formats one-based numbers as the provenance names of copied material.
std::string PatternProvenance(int bank, int track, int pattern);
std::string TrackProvenance(int bank, int track);
std::string PlaylistProvenance(int bank);

}  // namespace korvel
