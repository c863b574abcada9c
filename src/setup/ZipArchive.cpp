#include "setup/ZipArchive.h"

#include <zip.h>

namespace halcyra {

bool ZipArchive(const std::deque<ArchiveEntry>& entries, std::string& archive, std::string& error)
{
    zip_error_t zerror;
    zip_error_init(&zerror);
    zip_source_t* source = zip_source_buffer_create(nullptr, 0, 0, &zerror);
    zip_t* zip = source ? zip_open_from_source(source, ZIP_TRUNCATE, &zerror) : nullptr;
    if (!zip) {
        error = zip_error_strerror(&zerror);
        zip_error_fini(&zerror);
        if (source)
            zip_source_free(source);
        return false;
    }
    zip_source_keep(source); // still needed after the archive is closed
    bool ok = true;
    for (const ArchiveEntry& entry : entries) {
        zip_source_t* data = zip_source_buffer(zip, entry.bytes.data(), entry.bytes.size(), 0);
        if (!data || zip_file_add(zip, entry.name.c_str(), data, ZIP_FL_ENC_UTF_8) < 0) {
            if (data)
                zip_source_free(data);
            ok = false;
            break;
        }
    }
    if (!ok || zip_close(zip) != 0) {
        error = zip_strerror(zip);
        zip_discard(zip);
        zip_source_free(source);
        return false;
    }
    ok = zip_source_open(source) == 0;
    zip_stat_t stat;
    zip_stat_init(&stat);
    ok = ok && zip_source_stat(source, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE);
    if (ok) {
        archive.resize(stat.size);
        ok = zip_source_read(source, archive.data(), stat.size) == static_cast<zip_int64_t>(stat.size);
    }
    if (!ok)
        error = zip_error_strerror(zip_source_error(source));
    zip_source_close(source);
    zip_source_free(source);
    zip_error_fini(&zerror);
    return ok;
}

} // namespace halcyra
