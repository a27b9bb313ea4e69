// A device for tests and benchmarks, mounted over a backing folder:
//   device_rig BACKING MOUNTPOINT [-f] -o read_mbps=R,write_mbps=W,op_delay_ms=D,
//              fail_read=PATHPART@OFFSET,fail_write=PATHPART@OFFSET,
//              drop_write=PATHPART@OFFSET,flip_read=PATHPART@OFFSET
// MB/s are 10^6 bytes a second; 0 or absent is no limit. Each fault rule (cDeviceFaults) may
// be given more than once. Without -f it returns once the mount is ready and serves until unmounted.
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "cPassthroughFs.h"

namespace {

struct Options {
  unsigned readMbps = 0;
  unsigned writeMbps = 0;
  unsigned operationDelayMs = 0;
};

enum Key { kFailRead, kFailWrite, kDropWrite, kFlipRead };

struct FaultOption {
  const char* prefix;
  cDeviceFaults::Kind kind;
};
const FaultOption kFaultOptions[] = {
    {"fail_read=", cDeviceFaults::Kind::FailRead},
    {"fail_write=", cDeviceFaults::Kind::FailWrite},
    {"drop_write=", cDeviceFaults::Kind::DropWrite},
    {"flip_read=", cDeviceFaults::Kind::FlipRead},
};

const fuse_opt kOptionSpecs[] = {
    {"read_mbps=%u", offsetof(Options, readMbps), 0},
    {"write_mbps=%u", offsetof(Options, writeMbps), 0},
    {"op_delay_ms=%u", offsetof(Options, operationDelayMs), 0},
    FUSE_OPT_KEY("fail_read=", kFailRead),
    FUSE_OPT_KEY("fail_write=", kFailWrite),
    FUSE_OPT_KEY("drop_write=", kDropWrite),
    FUSE_OPT_KEY("flip_read=", kFlipRead),
    FUSE_OPT_END,
};

struct Parsed {
  Options options;
  cPassthroughFs::Settings settings;
  std::string error;
};

// Takes the backing folder (the first plain argument) and the fault rules; everything else
// goes on to FUSE.
int TakeArgument(void* data, const char* arg, int key, fuse_args*) {
  auto& parsed = *static_cast<Parsed*>(data);
  try {
    switch (key) {
      case kFailRead:
      case kFailWrite:
      case kDropWrite:
      case kFlipRead: {
        const FaultOption& option = kFaultOptions[key];
        parsed.settings.faults.Add(option.kind, std::string(arg).substr(std::strlen(option.prefix)));
        return 0;
      }
      case FUSE_OPT_KEY_NONOPT:
        if (parsed.settings.backing.empty()) {
          parsed.settings.backing = arg;
          return 0;
        }
        return 1;
      default:
        return 1;
    }
  } catch (const std::exception& error) {
    parsed.error = error.what();
    return -1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  fuse_args args = FUSE_ARGS_INIT(argc, argv);
  Parsed parsed;
  if (fuse_opt_parse(&args, &parsed.options, kOptionSpecs, TakeArgument) != 0 || parsed.settings.backing.empty()) {
    std::fprintf(stderr, "device_rig: %s\nusage: device_rig BACKING MOUNTPOINT [-f] [-o options]\n",
                 parsed.error.empty() ? "bad arguments" : parsed.error.c_str());
    fuse_opt_free_args(&args);
    return 2;
  }
  parsed.settings.readBytesPerSecond = parsed.options.readMbps * 1e6;
  parsed.settings.writeBytesPerSecond = parsed.options.writeMbps * 1e6;
  parsed.settings.operationDelay = std::chrono::milliseconds(parsed.options.operationDelayMs);
  try {
    cPassthroughFs fs(std::move(parsed.settings));
    const int status = fuse_main(args.argc, args.argv, &cPassthroughFs::Operations(), &fs);
    fuse_opt_free_args(&args);
    return status;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "device_rig: %s\n", error.what());
    fuse_opt_free_args(&args);
    return 1;
  }
}
