#include "driver/profile_locator.h"

#include "driver/command_line.h"
#include "driver/line_pieces.h"
#include "output/host_flavour.h"
#include "platform/byte_order_mark.h"
#include "run_context.h"

namespace kelvoran {

namespace {

/// The file in which an administrator names PRTG's folder.
constexpr const char* kPrtgPathFile = "C:\\PRTG_Path.Txt";
/// Lines of that file are read with a 100-byte buffer.
constexpr std::size_t kPrtgPathBuffer = 100;

/// Sub-folders tried below the folder named in the file, in this order.
constexpr const char* kPrtgSubFolder = "PRTG Network Monitor\\Custom Sensors\\ExeXml\\";
constexpr const char* kCustomSensorsSubFolder = "Custom Sensors\\ExeXml\\";

/// PRTG's usual installation folders on the current drive, tried when the file is absent.
constexpr const char* kFixedFolders[] = {
    "\\Programme\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "\\Program Files (x86)\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
};

std::string MissingProfile(const std::string& shown) {
  return "Error 1002: Profile " + shown + " is missing...";
}

// A line names a folder when it starts like one: "\PRTG", "\\server\share", "D:PRTG" or
// "D:\PRTG".
bool NamesFolder(const std::string& line) {
  return (line.size() > 0 && line[0] == '\\') || (line.size() > 1 && line[1] == ':') ||
         (line.size() > 2 && line[2] == '\\');
}

// The last folder named in the open path file; empty when no line names one.
std::string ReadPrtgFolder(std::FILE* file) {
  std::string folder;
  std::string line;
  SkipByteOrderMark(file);
  while (ReadLinePiece(file, kPrtgPathBuffer, line)) {
    if (NamesFolder(line)) folder = line;
  }
  return folder;
}

// PRTG's folder is named in the path file: the profile lies below it, in PRTG's custom-sensor
// folder or in the folder itself.
FatalError OpenBelowNamedFolder(RunContext& ctx, FilePtr pathFile) {
  std::string directory = ReadPrtgFolder(pathFile.get());
  pathFile.reset();
  if (directory.empty() || directory.back() != '\\') directory += '\\';

  const std::string& name = ctx.profileName;
  if (ctx.files.Exists(directory + kPrtgSubFolder + name)) directory += kPrtgSubFolder;
  if (ctx.files.Exists(directory + kCustomSensorsSubFolder + name))
    directory += kCustomSensorsSubFolder;

  ctx.profileFile = ctx.files.Open(directory + name, "r");
  if (!ctx.profileFile) return MissingProfile(name);
  ctx.profileDirectory = directory;
  return std::nullopt;
}

// No path file: the current directory first, then PRTG's usual folders.
FatalError OpenInUsualFolders(RunContext& ctx) {
  const std::string& name = ctx.profileName;
  ctx.profileFile = ctx.files.Open(name, "r");
  if (ctx.profileFile) {
    ctx.profileDirectory.clear();
    return std::nullopt;
  }
  for (const char* folder : kFixedFolders) {
    ctx.profileFile = ctx.files.Open(folder + name, "r");
    if (ctx.profileFile) {
      ctx.profileDirectory = folder;
      return std::nullopt;
    }
  }
  return MissingProfile(name);
}

}  // namespace

std::size_t DirectoryPartLength(std::string_view name) {
  const std::size_t last = name.find_last_of("\\/");
  if (last == std::string_view::npos || last == 0) return 0;
  return last + 1;
}

FatalError LocateProfile(RunContext& ctx) {
  const std::size_t split = DirectoryPartLength(ctx.profileName);
  ctx.profileDirectory = ctx.profileName.substr(0, split);
  ctx.profileName.erase(0, split);
  ApplyGlobalRule(ctx);
  ctx.profileFile.reset();

  if (ctx.hostFlavour != HostFlavour::ExeXml) {
    // The maker flavours read the profile where the command line says.
    ctx.profilePath = ctx.profileDirectory + ctx.profileName;
    ctx.profileFile = ctx.files.Open(ctx.profilePath, "r");
    if (!ctx.profileFile) return MissingProfile(ctx.profilePath);
    return std::nullopt;
  }

  // PRTG starts the probe from its own folder; a directory on the command line is not used.
  ctx.profileDirectory.clear();
  FilePtr pathFile = ctx.files.Open(kPrtgPathFile, "r");
  FatalError error =
      pathFile ? OpenBelowNamedFolder(ctx, std::move(pathFile)) : OpenInUsualFolders(ctx);
  if (error) return error;
  ctx.profilePath = ctx.profileDirectory + ctx.profileName;
  return std::nullopt;
}

}  // namespace kelvoran
