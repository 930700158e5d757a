#pragma once
// A zip archive written part after part, each part deflated as its bytes
// stream in, so a part far larger than memory never has to be held whole.
#include <memory>
#include <string>
#include <string_view>

namespace tolvenk::grid::exporting {

class ZipWriter {
public:
    // Creates the file, or empties it when it exists.
    explicit ZipWriter(const std::string& path);
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    // Every call below does nothing once one has failed; the first failure is kept.
    bool ok() const;
    // The system's error number of the write that failed; 0 when none failed
    // or the archive itself could not be made.
    int systemError() const;

    // Starts a part. `level` is zlib's (1 fastest); a `large` part may pass
    // 4 GB and gets the zip64 extensions, which some readers lack, so only
    // parts that need them should ask.
    bool begin(const std::string& name, int level, bool large = false);
    bool write(std::string_view bytes);
    bool end();
    // Writes the archive's directory and closes the file.
    bool close();

    struct Sink;

private:
    void check(int result);

    std::unique_ptr<Sink> sink_;
    void* zip_ = nullptr;
    bool failed_ = false;
    bool inPart_ = false;
};

}  // namespace tolvenk::grid::exporting
