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

/// A data file on disk held open after its stream is closed: its identity cannot pass to a new
/// file of that name, and its bytes can be compared with a graph file's.
struct held_file {
  bool open;
  std::intptr_t handle;  ///< a descriptor (POSIX) or a HANDLE (Windows)
};

/// Opens a data file for reading, byte for byte, and tells in `id` which file was opened. Null
/// when it cannot be opened, and for a folder on every platform (Linux would open one and fail
/// only when it is read); errno then says why. With `hold`, a file on disk is also held there
/// (it lets other programs read, write, rename and delete it) until release_file; `hold` is
/// left closed otherwise.
std::FILE* open_data_file(const char* name, file_id* id, held_file* hold = nullptr);

/// Lets go of a held file; nothing happens when it is not open.
void release_file(held_file* hold);

enum class graph_open {
  ok,       ///< open for writing, emptied
  is_data,  ///< the name leads to the data file, or to a file holding its bytes; left untouched
  failed,   ///< it cannot be opened, or which file it is cannot be told; nothing was emptied,
            ///< and a file this call created has been removed again
};

/// Opens a graph file for writing in text mode, replacing what it holds, unless it is the file
/// `data` (then it is left as it was). The file's identity is taken from the opened file before
/// anything in it is emptied, so no spelling, link or rename can make the graph replace the
/// data. An existing file that holds the same bytes as the held data file `held` (a view of it
/// that reports another identity, or a copy) counts as the data file too; an empty one holds
/// nothing to lose. When `data` is not known, nothing is opened. A fifo with no reader is not
/// waited for: it cannot be opened. Null unless the status is ok.
std::FILE* open_graph_file(const char* name, const file_id& data, const held_file& held,
                           graph_open* status);

/// True when `f` is an interactive terminal (a console on Windows).
bool is_terminal(std::FILE* f);

}  // namespace plotcore
