// Opening data and graph files and telling whether standard input is a terminal: the few things
// about files that each platform answers in its own way.
#pragma once

#include <cstdint>
#include <cstdio>

namespace plotcore {

/// Which file an open stream reads or writes, whatever name led to it.
struct file_id {
  bool known;            ///< false when the platform could not tell
  bool on_disk;          ///< false for pipes and devices, which no save can empty
  std::uint64_t volume;  ///< device (Linux) or volume serial number (Windows)
  std::uint64_t index;   ///< inode (Linux) or file index (Windows)
};

/// Opens a data file for reading, byte for byte, and tells in `id` which file was opened. Null
/// when it cannot be opened, and for a folder on every platform (Linux would open one and fail
/// only when it is read); errno then says why.
std::FILE* open_data_file(const char* name, file_id* id);

enum class graph_open {
  ok,       ///< open for writing, emptied
  is_data,  ///< the name leads to the data file, which was left untouched
  failed,   ///< it cannot be opened, or which file it is cannot be told; nothing was emptied
};

/// Opens a graph file for writing in text mode, replacing what it holds, unless it is the file
/// `data` (then it is left as it was). The file's identity is taken from the opened file before
/// anything in it is emptied, so no spelling, link or rename can make the graph replace the
/// data. When `data` is not known, nothing is opened. Null unless the status is ok.
std::FILE* open_graph_file(const char* name, const file_id& data, graph_open* status);

/// True when `f` is an interactive terminal (a console on Windows).
bool is_terminal(std::FILE* f);

}  // namespace plotcore
