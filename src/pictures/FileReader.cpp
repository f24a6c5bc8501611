// The reader of the player's real photo files: each format's own decoder,
// which gives up as soon as the game asks it to stop.
#include "pictures/PictureReader.h"

#include "pictures/PhotoRead.h"

PictureReader::~PictureReader() = default;

namespace {

class FileReader : public PictureReader {
public:
    bool Probe(const std::string& path, std::string& why) override { return ProbeOwnPicture(path, why); }
    std::optional<OwnPicture> Read(const std::string& path, std::string& why, const std::atomic<bool>& stop) override {
        return ReadOwnPicture(path, why, &stop);
    }
};

}  // namespace

std::shared_ptr<PictureReader> MakeFileReader() { return std::make_shared<FileReader>(); }
