#include "format/bin_packer.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <cstring>
#include <filesystem>
#include <system_error>

#include "ftpack/bin_format.h"
#include "ftpack/file_io.h"
#include "run/run_error.h"
#include "run/run_files.h"
#include "run/text_fields.h"

namespace kestrum {

namespace fs = std::filesystem;

namespace {

// A finding goes to the log file and to the progress box.
void Report(StageContext& ctx, const std::string& line) {
  ctx.log.WriteLogLine(line);
  ctx.ui.EchoLine(line);
}

// Why no ".bin" reached its place: reported like any finding, and kept for the caller.
void Refuse(StageContext& ctx, PackResult& result, const std::string& line) {
  Report(ctx, line);
  result.reason = line.substr(line.find_first_not_of(' '));
}

const char* PackerMessage(int32_t code) {
  switch (code) {
    case FTPACK_ERR_FILENAME: return "Ftpack DLL: Error with filename creation";
    case FTPACK_ERR_OPEN_FT: return "Ftpack DLL: Error opening .ft file";
    case FTPACK_ERR_HEADER: return "Ftpack DLL: Error reading header from .ft";
    case FTPACK_ERR_HOURLY: return "Ftpack DLL: Error reading hourly data from .ft";
    case FTPACK_ERR_WRITE_BIN: return "Ftpack DLL: Error writing to .bin";
    case FTPACK_ERR_OPEN_BIN: return "Ftpack DLL: Error opening .bin file";
    default: return "Ftpack DLL: Unknown error";
  }
}

bool IsBinExtension(std::string_view ext) { return ToUpperAscii(ext) == ".BIN"; }

// Removes <base>.bin from dir whatever the letter case of its extension (.bin, .BIN,
// .Bin ...), so that a ".bin" found after packing can only be the new one; with keepNew,
// all but <base>.bin itself, the file just packed.
void DeleteOldBinFiles(const fs::path& dir, const std::string& baseName, bool keepNew = false) {
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() != baseName.size() + 4 || name.compare(0, baseName.size(), baseName) != 0 ||
        !IsBinExtension(std::string_view(name).substr(baseName.size())) ||
        (keepNew && name == baseName + ".bin")) {
      continue;
    }
    std::error_code removeError;
    if (!it->is_directory(removeError)) fs::remove(it->path(), removeError);
  }
}

// Which file a path names, and when it last changed: a file replaced by a rename has
// another inode, one rewritten in place other change times.
struct FileIdentity {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};
  timespec changed{};

  bool operator==(const FileIdentity& o) const {
    const auto same = [](const timespec& a, const timespec& b) {
      return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
    };
    return exists == o.exists && device == o.device && inode == o.inode && size == o.size &&
           same(modified, o.modified) && same(changed, o.changed);
  }
};

FileIdentity IdentityOf(const fs::path& path) {
  struct stat st {};
  FileIdentity id;
  if (::stat(path.c_str(), &st) != 0) return id;
  id.exists = true;
  id.device = st.st_dev;
  id.inode = st.st_ino;
  id.size = st.st_size;
  id.modified = st.st_mtim;
  id.changed = st.st_ctim;
  return id;
}

// The packer reports a failed write by its code alone; a full file system is the usual
// cause, and the one worth naming.
std::string SpaceNote(const fs::path& dir) {
  struct statvfs fsInfo {};
  if (::statvfs(dir.c_str(), &fsInfo) != 0) return {};
  const unsigned long long available =
      static_cast<unsigned long long>(fsInfo.f_bavail) * fsInfo.f_frsize;
  return available < ftpack::kBinFileSize ? ": no space left on the device" : "";
}

// Directory texts compared without regard to letter case (ASCII), nothing else normalised.
bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && ToUpperAscii(a) == ToUpperAscii(b);
}

// Copies source into dir under its own name: first to a temporary name, then renamed
// over the old file, so a failed copy (a full disk) never leaves a half-written ".bin".
bool CopyInto(const fs::path& source, const fs::path& dir, fs::path& target, std::string& why) {
  target = dir / source.filename();
  std::string bytes;
  int error = 0;
  if (ftpack::ReadWholeFile(source.string(), ftpack::kBinFileSize, bytes, error) !=
      ftpack::ReadStatus::Ok) {
    why = error != 0 ? std::strerror(error) : "the packed file cannot be read back";
    return false;
  }
  if (ftpack::WriteFileReplacing(target.string(), bytes.data(), bytes.size(), error) !=
      ftpack::WriteStatus::Ok) {
    why = std::strerror(error);
    return false;
  }
  return true;
}

}  // namespace

PackResult MakeBinFile(const std::string& baseName, const std::string& outputDir,
                       StageContext& ctx, FtpackLibrary& ftpack) {
  if (ftpack.init == nullptr || ftpack.pack == nullptr) {
    throw RunError("The packer library " + std::string(kFtpackFileName) + " is not bound.");
  }
  PackResult result;
  char* buffer = ftpack.init();
  if (buffer == nullptr) {
    throw RunError("The packer library " + std::string(kFtpackFileName) +
                   " gave no name buffer.");
  }

  std::error_code ec;
  const fs::path current = fs::current_path(ec);
  if (ec) throw RunError("The current directory cannot be determined: " + ec.message());

  if (!fs::exists(baseName + ".ft", ec)) {
    Refuse(ctx, result, "     Bin file not created because FT file does not exist.");
    ctx.ui.Repaint();
    return result;
  }

  // The packer reads the name up to the blanks that pad its buffer: a name that leaves no
  // blank would reach it cut, so it is refused here.
  if (baseName.size() >= FTPACK_NAME_BUFFER_SIZE) {
    Refuse(ctx, result, "     Bin file not created because the file name " + baseName + " has " +
                    std::to_string(baseName.size()) + " characters; the packer takes at most " +
                    std::to_string(FTPACK_NAME_BUFFER_SIZE - 1) + ".");
    ctx.ui.Repaint();
    return result;
  }
  std::memset(buffer, ' ', FTPACK_NAME_BUFFER_SIZE);
  std::memcpy(buffer, baseName.data(), baseName.size());

  // When the ".bin" stays here, the one of an earlier run is the user's output: it stays
  // until a new one has been packed, and the packer replaces it by a rename only then.
  // Otherwise the interim copy is an intermediate, removed so that it cannot pass for new.
  const fs::path made = current / (baseName + ".bin");
  const bool staysHere = BinStaysInInterim(outputDir, current.string());
  const FileIdentity earlier = staysHere ? IdentityOf(made) : FileIdentity{};
  if (!staysHere) DeleteOldBinFiles(current, baseName);

  const int32_t code = ftpack.pack();
  if (code != FTPACK_OK) {
    std::string line = std::string("     ") + PackerMessage(code);
    if (code == FTPACK_ERR_WRITE_BIN || code == FTPACK_ERR_OPEN_BIN) {
      line += " (" + (current / (baseName + ".bin")).string() + SpaceNote(current) + ")";
    }
    Refuse(ctx, result, line);
    ctx.ui.Repaint();
    return result;
  }

  // A ".bin" found now can only be the new one: not the earlier file left as it was.
  if (!fs::is_regular_file(made, ec) || (earlier.exists && IdentityOf(made) == earlier)) {
    ctx.log.WriteLogLine("       Error encountered while creating BIN file:" + baseName + ".bin");
    result.reason = "Error encountered while creating BIN file:" + baseName + ".bin";
    ctx.ui.Repaint();
    return result;
  }
  result.ok = true;
  result.binPath = made.string();
  if (staysHere) DeleteOldBinFiles(current, baseName, true);

  const std::string stays = ": the BIN file stays in " + made.string();
  if (outputDir.empty()) {
    Report(ctx, "     No output directory is given" + stays);
  } else if (!fs::is_directory(outputDir, ec)) {
    Report(ctx, "     Output directory " + outputDir + " does not exist" + stays);
  } else if (SameTextIgnoringCase(outputDir, current.string())) {
    // Taken as the interim directory itself: no copy. On a file system that tells letter
    // cases apart these can be two directories, and the log says where the file is.
    if (!fs::equivalent(outputDir, current, ec)) {
      Report(ctx, "     Output directory " + outputDir + " differs from the interim directory " +
                      current.string() + " only in letter case" + stays);
    }
  } else if (fs::equivalent(outputDir, current, ec)) {
    // The same directory under another name: copying would copy the file onto itself.
  } else {
    fs::path target;
    std::string why;
    if (CopyInto(made, outputDir, target, why)) {
      result.binPath = target.string();
    } else {
      // The file did not reach the place the user chose: the run has failed.
      result.ok = false;
      Refuse(ctx, result, "     BIN file could not be copied to " + outputDir + " (" + why + ")" + stays);
    }
  }
  ctx.ui.Repaint();
  return result;
}

}  // namespace kestrum
