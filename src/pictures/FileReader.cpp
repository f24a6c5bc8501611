// The reader of the player's real photo files, on the own-picture loader.
#include "pictures/PictureReader.h"

PictureReader::~PictureReader() = default;

namespace {

class FileReader : public PictureReader {
public:
    bool Probe(const std::string& path, std::string& why) override { return CheckOwnPictureHeader(path, why); }
    // The loader cannot be stopped half-way through a file yet: a stop is
    // seen only between files (the shelf bounds its wait at the end). A
    // decoder that checks `stop` as it goes replaces this call.
    std::optional<OwnPicture> Read(const std::string& path, std::string& why, const std::atomic<bool>& stop) override {
        if (stop.load()) {
            why = "the game is ending";
            return std::nullopt;
        }
        return ReadOwnPicture(path, why);
    }
};

}  // namespace

std::shared_ptr<PictureReader> MakeFileReader() { return std::make_shared<FileReader>(); }
