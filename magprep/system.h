// What magprep asks of the system that each platform answers in its own way: the file of -o,
// written as it is or replaced whole.
#pragma once

#include <cstdint>
#include <cstdio>

#include "plotcore/files.h"

namespace magprep {

/// Longest name of a file that -o replaces, and of its part file.
constexpr int place_max = 4096;
constexpr int part_name_max = place_max + 32;

/// What the FILE of -o is, found before anything is written.
enum class output_kind {
  absent,     ///< nothing has that name: a new file is made there
  regular,    ///< a file on disk: a new one takes its place when the run succeeds
  in_place,   ///< a device, a fifo or another thing that is no file on disk: written as it is
  folder,     ///< a folder: refused
  disk,       ///< a block device, a whole disk or a part of one: refused, as data would be lost
  no_reader,  ///< a fifo that no program reads: refused, as writing it would wait for ever
  failed,     ///< it cannot be told or opened; errno says why
};

/// The FILE of -o as found.
struct output_target {
  output_kind kind;
  char place[place_max];  ///< the name replaced: FILE, or the file a link of that name leads to
  plotcore::file_id id;   ///< the file replaced (regular), or written (in_place)
  std::FILE* stream;      ///< in_place: open for writing, blocking
  std::uint32_t mode;     ///< regular, POSIX: the permission bits the new file keeps
  std::int64_t owner;     ///< regular, POSIX: the owner and group it keeps, where it may
  std::int64_t group;
};

/// Finds what `name` is, following links, without creating, emptying or reading anything; a
/// device or a fifo is opened for writing (in_place) without waiting for a reader.
output_kind find_output(const char* name, output_target* t);

/// Creates the part file: a new file beside t.place, named after it with a suffix no existing
/// file has, that takes the permissions and owner of the file it replaces (a new one gets those
/// of any new file). Its name goes to `part` (part_name_max bytes) and its identity to `id`.
/// Until replace_with_part or remove_part, being interrupted (SIGINT, SIGTERM, SIGHUP; on
/// Windows Ctrl-C, Ctrl-Break and the console closed) removes it before the program ends. Null
/// when it cannot be made; errno says why.
std::FILE* create_part(const output_target& t, char* part, plotcore::file_id* id);

/// Puts the closed part file in t.place, replacing what the name held (on Windows a file
/// replaced keeps its attributes); false when it cannot, errno saying why.
bool replace_with_part(const char* part, const output_target& t);

/// Removes the part file, closed.
void remove_part(const char* part);

}  // namespace magprep
