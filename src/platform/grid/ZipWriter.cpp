#include "platform/grid/ZipWriter.h"

#include <fcntl.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tolvenk::grid::exporting {

// The archive's file, written through our own buffer: the library writes
// headers a few bytes at a time, and its own stdio file would leave the
// reason for a failed write (a full disk) unknown.
struct ZipWriter::Sink {
    static constexpr std::size_t kChunk = 1 << 20;

    int fd = -1;
    int err = 0;
    std::string buffer;       // bytes that go at `start`
    std::uint64_t start = 0;  // where the buffer goes in the file
    std::uint64_t end = 0;    // the file's length as written so far

    bool flush() {
        const char* p = buffer.data();
        std::size_t left = buffer.size();
        while (left > 0 && err == 0) {
            const ssize_t n = ::pwrite(fd, p, left, static_cast<off_t>(start));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) err = n < 0 ? errno : EIO;
            else {
                p += n;
                left -= static_cast<std::size_t>(n);
                start += static_cast<std::uint64_t>(n);
            }
        }
        end = std::max(end, start);
        buffer.clear();
        return err == 0;
    }

    // The library's file functions.
    static voidpf open(voidpf opaque, const void* name, int) {
        auto* s = static_cast<Sink*>(opaque);
        s->fd = ::open(static_cast<const char*>(name), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (s->fd < 0) {
            s->err = errno;
            return nullptr;
        }
        return s;
    }
    static uLong write(voidpf, voidpf stream, const void* bytes, uLong size) {
        auto* s = static_cast<Sink*>(stream);
        if (s->err != 0) return 0;
        s->buffer.append(static_cast<const char*>(bytes), size);
        if (s->buffer.size() >= kChunk && !s->flush()) return 0;
        return size;
    }
    static uLong read(voidpf, voidpf stream, void* bytes, uLong size) {
        auto* s = static_cast<Sink*>(stream);
        if (!s->flush()) return 0;
        const ssize_t n = ::pread(s->fd, bytes, size, static_cast<off_t>(s->start));
        if (n < 0) {
            s->err = errno;
            return 0;
        }
        s->start += static_cast<std::uint64_t>(n);
        return static_cast<uLong>(n);
    }
    static ZPOS64_T tell(voidpf, voidpf stream) {
        auto* s = static_cast<Sink*>(stream);
        return s->start + s->buffer.size();
    }
    static long seek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
        auto* s = static_cast<Sink*>(stream);
        const std::uint64_t at = s->start + s->buffer.size();
        if (!s->flush()) return -1;
        switch (origin) {
            case ZLIB_FILEFUNC_SEEK_SET: s->start = offset; break;
            case ZLIB_FILEFUNC_SEEK_CUR: s->start = at + offset; break;
            case ZLIB_FILEFUNC_SEEK_END: s->start = s->end + offset; break;
            default: return -1;
        }
        return 0;
    }
    static int close(voidpf, voidpf stream) {
        auto* s = static_cast<Sink*>(stream);
        s->flush();
        if (::close(s->fd) != 0 && s->err == 0) s->err = errno;
        s->fd = -1;
        return s->err == 0 ? 0 : -1;
    }
    static int error(voidpf, voidpf stream) { return static_cast<Sink*>(stream)->err != 0 ? 1 : 0; }
};

ZipWriter::ZipWriter(const std::string& path) : sink_(std::make_unique<Sink>()) {
    zlib_filefunc64_def io{};
    io.zopen64_file = &Sink::open;
    io.zread_file = &Sink::read;
    io.zwrite_file = &Sink::write;
    io.ztell64_file = &Sink::tell;
    io.zseek64_file = &Sink::seek;
    io.zclose_file = &Sink::close;
    io.zerror_file = &Sink::error;
    io.opaque = sink_.get();
    zip_ = zipOpen2_64(path.c_str(), APPEND_STATUS_CREATE, nullptr, &io);
    failed_ = zip_ == nullptr;
}

ZipWriter::~ZipWriter() {
    if (zip_ != nullptr) zipClose(static_cast<zipFile>(zip_), nullptr);
}

bool ZipWriter::ok() const { return !failed_ && sink_->err == 0; }

int ZipWriter::systemError() const { return sink_->err; }

void ZipWriter::check(int result) {
    if (result != ZIP_OK) failed_ = true;
}

bool ZipWriter::begin(const std::string& name, int level, bool large) {
    if (!ok()) return false;
    // A fixed time: the parts' times mean nothing to a reader, and 0 is no valid date.
    zip_fileinfo info{};
    info.tmz_date.tm_mday = 1;
    info.tmz_date.tm_year = 1980;
    check(zipOpenNewFileInZip64(static_cast<zipFile>(zip_), name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                Z_DEFLATED, level, large ? 1 : 0));
    inPart_ = ok();
    return ok();
}

bool ZipWriter::write(std::string_view bytes) {
    // The library takes at most 4 GB at a time.
    constexpr std::size_t kMost = 1u << 30;
    while (ok() && !bytes.empty()) {
        const std::size_t n = std::min(bytes.size(), kMost);
        check(zipWriteInFileInZip(static_cast<zipFile>(zip_), bytes.data(), static_cast<unsigned>(n)));
        bytes.remove_prefix(n);
    }
    return ok();
}

bool ZipWriter::end() {
    if (!ok()) return false;
    inPart_ = false;
    check(zipCloseFileInZip(static_cast<zipFile>(zip_)));
    return ok();
}

bool ZipWriter::close() {
    if (zip_ == nullptr) return false;
    if (inPart_) failed_ = true;  // a part left open is no archive
    check(zipClose(static_cast<zipFile>(zip_), nullptr));
    zip_ = nullptr;
    return ok();
}

}  // namespace tolvenk::grid::exporting
