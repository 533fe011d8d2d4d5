#include "cli/serve/AccessLog.h"
#include "cli/serve/ByteRange.h"
#include "cli/serve/ServeOptions.h"
#include "cli/serve/ServeRoute.h"
#include "cli/serve/SetupCatalog.h"

#include "platform/ListeningSocket.h"
#include "platform/ReloadRequest.h"
#include "platform/SocketAddress.h"
#include "platform/TerminationRequest.h"

#include <microhttpd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Request headers beyond this many bytes are refused (431) by the library.
constexpr size_t kConnectionMemory = size_t{16} * 1024;

// What the access log needs of one request, kept from its first call.
struct RequestRecord {
    std::string method;
    std::string path;
    std::string client;
    Clock::time_point start = Clock::now();
    int status = 0;
    int64_t bytes = 0;
};

// What a response body keeps alive until the library has sent it.
struct BodyHolder {
    ServedSetup setup;
};

void FreeBody(void* cls) {
    delete static_cast<BodyHolder*>(cls);
}

// Quoted-string form of a file name for Content-Disposition, and the UTF-8
// form beside it for names that are not plain ASCII.
std::string DispositionOf(const std::string& name) {
    std::string plain;
    std::string encoded;
    static const char* const kHex = "0123456789ABCDEF";
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        plain += c >= 0x20 && c < 0x7F && c != '"' && c != '\\' ? ch : '_';
        if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
            std::string_view("!#$&+-.^_`|~").find(ch) != std::string_view::npos) {
            encoded += ch;
        } else {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 15];
        }
    }
    return "attachment; filename=\"" + plain + "\"; filename*=UTF-8''" + encoded;
}

// If-None-Match compares weakly: W/"x" matches "x".
bool AnyTagMatches(std::string_view header, std::string_view etag) {
    while (!header.empty()) {
        const size_t comma = header.find(',');
        std::string_view tag = header.substr(0, comma);
        while (!tag.empty() && (tag.front() == ' ' || tag.front() == '\t'))
            tag.remove_prefix(1);
        while (!tag.empty() && (tag.back() == ' ' || tag.back() == '\t'))
            tag.remove_suffix(1);
        if (tag.substr(0, 2) == "W/")
            tag.remove_prefix(2);
        if (tag == "*" || tag == etag)
            return true;
        if (comma == std::string_view::npos)
            break;
        header.remove_prefix(comma + 1);
    }
    return false;
}

std::string HeaderOf(MHD_Connection* connection, const char* name) {
    const char* value = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, name);
    return value ? value : "";
}

bool HasHeader(MHD_Connection* connection, const char* name) {
    return MHD_lookup_connection_value(connection, MHD_HEADER_KIND, name) != nullptr;
}

class SetupServer {
public:
    SetupServer(const ServeOptions& options, CSetupCatalog& catalog, CAccessLog& log)
        : m_options(options), m_catalog(catalog), m_log(log) {}

    MHD_Result Answer(MHD_Connection* connection, RequestRecord& record) {
        if (record.method != "GET" && record.method != "HEAD") {
            return QueueText(connection, record, MHD_HTTP_METHOD_NOT_ALLOWED,
                             "Only GET and HEAD are answered.\n", MHD_HTTP_HEADER_ALLOW,
                             "GET, HEAD");
        }
        const ServeRoute route = RouteOfPath(record.path);
        switch (route.kind) {
        case ServeRoute::Kind::Health:
            return QueueText(connection, record, MHD_HTTP_OK, "ok\n");
        case ServeRoute::Kind::TooLong:
            return QueueText(connection, record, MHD_HTTP_URI_TOO_LONG, "The path is too long.\n");
        case ServeRoute::Kind::BadRequest:
            return QueueText(connection, record, MHD_HTTP_BAD_REQUEST,
                             "The path is not allowed.\n");
        case ServeRoute::Kind::NotFound:
            return NotFound(connection, record);
        case ServeRoute::Kind::ByAffiliateId:
        case ServeRoute::Kind::ByKey:
            break;
        }
        SetupLookup lookup = m_catalog.Find(route);
        switch (lookup.status) {
        case SetupLookup::Status::NotFound:
            return NotFound(connection, record);
        case SetupLookup::Status::Failed:
            return QueueText(connection, record, MHD_HTTP_INTERNAL_SERVER_ERROR,
                             "The custom setup cannot be made.\n");
        case SetupLookup::Status::Ambiguous:
            return Ambiguous(connection, record, lookup.keys);
        case SetupLookup::Status::Found:
            break;
        }
        return SendSetup(connection, record, std::move(lookup.setup));
    }

    void Completed(MHD_Connection*, RequestRecord* record, MHD_RequestTerminationCode code) {
        if (record == nullptr)
            return;
        const bool whole = code == MHD_REQUEST_TERMINATED_COMPLETED_OK;
        const char* outcome = whole                                            ? "ok"
                              : code == MHD_REQUEST_TERMINATED_TIMEOUT_REACHED ? "timeout"
                              : code == MHD_REQUEST_TERMINATED_CLIENT_ABORT    ? "aborted"
                                                                               : "closed";
        if (record->status != 0) {
            m_log.Write(record->client, record->method, record->path, record->status,
                        whole ? record->bytes : -1, Clock::now() - record->start, outcome);
            --m_running;
        }
        delete record;
    }

    int Running() const { return m_running.load(); }
    void Draining() { m_draining = true; }

private:
    MHD_Result SendSetup(MHD_Connection* connection, RequestRecord& record, ServedSetup setup) {
        const std::string etag = setup.etag;
        const int64_t size = setup.size;
        if (AnyTagMatches(HeaderOf(connection, MHD_HTTP_HEADER_IF_NONE_MATCH), etag)) {
            MHD_Response* response =
                MHD_create_response_from_buffer(0, nullptr, MHD_RESPMEM_PERSISTENT);
            AddCacheHeaders(response, etag);
            return Queue(connection, record, MHD_HTTP_NOT_MODIFIED, response, 0);
        }
        ByteRangeAnswer range;
        // Range is for GET only; an If-Range that names another version asks
        // for the whole new body.
        if (record.method == "GET" && HasHeader(connection, MHD_HTTP_HEADER_RANGE) &&
            (!HasHeader(connection, MHD_HTTP_HEADER_IF_RANGE) ||
             HeaderOf(connection, MHD_HTTP_HEADER_IF_RANGE) == etag))
            range = AnswerRange(HeaderOf(connection, MHD_HTTP_HEADER_RANGE), size);
        if (range.kind == ByteRangeAnswer::Kind::Unsatisfiable) {
            return QueueText(connection, record, MHD_HTTP_RANGE_NOT_SATISFIABLE,
                             "The range is outside the custom setup.\n",
                             MHD_HTTP_HEADER_CONTENT_RANGE, "bytes */" + std::to_string(size));
        }
        int64_t first = 0;
        int64_t last = size - 1;
        if (range.kind == ByteRangeAnswer::Kind::Partial) {
            first = range.first;
            last = range.last;
        }
        auto holder = std::make_unique<BodyHolder>();
        holder->setup = std::move(setup);
        const std::vector<MHD_IoVec> slices = SlicesOf(holder->setup, first, last + 1);
        MHD_Response* response = MHD_create_response_from_iovec(
            slices.data(), static_cast<unsigned>(slices.size()), FreeBody, holder.get());
        if (response == nullptr)
            return MHD_NO;
        const std::string fileName = holder.release()->setup.fileName;
        AddCacheHeaders(response, etag);
        MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, "application/octet-stream");
        MHD_add_response_header(response, MHD_HTTP_HEADER_ACCEPT_RANGES, "bytes");
        MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_DISPOSITION,
                                DispositionOf(fileName).c_str());
        int status = MHD_HTTP_OK;
        if (range.kind == ByteRangeAnswer::Kind::Partial) {
            status = MHD_HTTP_PARTIAL_CONTENT;
            const std::string text = "bytes " + std::to_string(first) + "-" + std::to_string(last) +
                                     "/" + std::to_string(size);
            MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_RANGE, text.c_str());
        }
        return Queue(connection, record, status, response, last + 1 - first);
    }

    // The spans of [from, to) of the body; empty spans are left out.
    static std::vector<MHD_IoVec> SlicesOf(const ServedSetup& setup, int64_t from, int64_t to) {
        std::vector<MHD_IoVec> slices;
        int64_t at = 0;
        for (const auto& [data, length] : setup.spans) {
            const int64_t end = at + static_cast<int64_t>(length);
            const int64_t start = std::max(at, from);
            const int64_t stop = std::min(end, to);
            if (start < stop)
                slices.push_back(MHD_IoVec{data + (start - at), static_cast<size_t>(stop - start)});
            at = end;
        }
        return slices;
    }

    void AddCacheHeaders(MHD_Response* response, const std::string& etag) const {
        MHD_add_response_header(response, MHD_HTTP_HEADER_ETAG, etag.c_str());
        const std::string control = "public, max-age=" + std::to_string(m_options.maxAgeSeconds);
        MHD_add_response_header(response, MHD_HTTP_HEADER_CACHE_CONTROL, control.c_str());
    }

    MHD_Result NotFound(MHD_Connection* connection, RequestRecord& record) {
        return QueueText(connection, record, MHD_HTTP_NOT_FOUND, "No custom setup here.\n");
    }

    MHD_Result Ambiguous(MHD_Connection* connection, RequestRecord& record,
                         std::vector<uint16_t> keys) {
        std::sort(keys.begin(), keys.end());
        std::string text = "Several affiliates share this ID; ask for one by key:\n";
        for (const uint16_t key : keys)
            text += "/setup/key/" + std::to_string(key) + "\n";
        return QueueText(connection, record, MHD_HTTP_CONFLICT, text);
    }

    static MHD_Response* TextResponse(const std::string& text) {
        MHD_Response* response = MHD_create_response_from_buffer(
            text.size(), const_cast<char*>(text.data()), MHD_RESPMEM_MUST_COPY);
        if (response != nullptr) {
            MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE,
                                    "text/plain; charset=utf-8");
            MHD_add_response_header(response, MHD_HTTP_HEADER_CACHE_CONTROL, "no-store");
        }
        return response;
    }

    MHD_Result Queue(MHD_Connection* connection, RequestRecord& record, int status,
                     MHD_Response* response, int64_t bodyBytes) {
        if (response == nullptr)
            return MHD_NO;
        if (m_draining)
            MHD_add_response_header(response, MHD_HTTP_HEADER_CONNECTION, "close");
        record.status = status;
        record.bytes = record.method == "HEAD" ? 0 : bodyBytes;
        ++m_running;
        const MHD_Result queued =
            MHD_queue_response(connection, static_cast<unsigned>(status), response);
        MHD_destroy_response(response);
        return queued;
    }

    MHD_Result QueueText(MHD_Connection* connection, RequestRecord& record, int status,
                         const std::string& text, const char* header = nullptr,
                         const std::string& value = {}) {
        MHD_Response* response = TextResponse(text);
        if (response != nullptr && header != nullptr)
            MHD_add_response_header(response, header, value.c_str());
        return Queue(connection, record, status, response, static_cast<int64_t>(text.size()));
    }

    const ServeOptions& m_options;
    CSetupCatalog& m_catalog;
    CAccessLog& m_log;
    std::atomic<int> m_running{0};
    std::atomic<bool> m_draining{false};
};

MHD_Result OnRequest(void* cls, MHD_Connection* connection, const char* url, const char* method,
                     const char*, const char*, size_t* uploadSize, void** requestContext) {
    auto* server = static_cast<SetupServer*>(cls);
    if (*requestContext == nullptr) {
        auto record = std::make_unique<RequestRecord>();
        record->method = method ? method : "";
        record->path = url ? url : "";
        const MHD_ConnectionInfo* info =
            MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
        record->client = platform::SocketAddressHost(info ? info->client_addr : nullptr);
        *requestContext = record.release();
        return MHD_YES;
    }
    // A request body is never used: it is read and dropped.
    if (*uploadSize != 0) {
        *uploadSize = 0;
        return MHD_YES;
    }
    return server->Answer(connection, *static_cast<RequestRecord*>(*requestContext));
}

void OnCompleted(void* cls, MHD_Connection* connection, void** requestContext,
                 MHD_RequestTerminationCode code) {
    static_cast<SetupServer*>(cls)->Completed(connection,
                                              static_cast<RequestRecord*>(*requestContext), code);
    *requestContext = nullptr;
}

// Paths are decoded by the server's own strict rules (ServeRoute), so the
// library hands them over as the client sent them.
size_t KeepEscapes(void*, MHD_Connection*, char* text) {
    return std::char_traits<char>::length(text);
}

void KeepCatalogFresh(CSetupCatalog& catalog, CAccessLog& log, bool forced) {
    if (!forced && !catalog.Changed())
        return;
    std::ostringstream why;
    if (catalog.Load(why))
        log.Note("Read the project again.");
    else
        log.Note("The project cannot be read again; serving what was read before. " + why.str());
}

} // namespace

int RunSetupServer(const ServeOptions& options, std::ostream& out, std::ostream& err) {
    platform::SocketAddress address;
    if (!platform::ParseListenAddress(options.listen, address)) {
        err << "The address '" << options.listen
            << "' is not ADDRESS:PORT (127.0.0.1:8080, [::1]:8080, *:8080).\n";
        return 1;
    }
    CSetupCatalog catalog(options.projectPath, options.templatePath);
    if (!catalog.Load(err))
        return 1;
    platform::CatchTerminationRequests();
    platform::CatchReloadRequests();

    CAccessLog log(out);
    SetupServer server(options, catalog, log);
    const bool ipv6 = options.listen.front() == '[';
    unsigned flags = MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_EPOLL | MHD_USE_ITC;
    if (ipv6)
        flags |= MHD_USE_IPv6;
    MHD_Daemon* daemon = MHD_start_daemon(
        flags, 0, nullptr, nullptr, OnRequest, &server, MHD_OPTION_SOCK_ADDR,
        reinterpret_cast<const sockaddr*>(address.bytes.data()), MHD_OPTION_THREAD_POOL_SIZE,
        std::max(1u, options.threads), MHD_OPTION_CONNECTION_LIMIT,
        std::max(1u, options.maxConnections), MHD_OPTION_CONNECTION_TIMEOUT, options.timeoutSeconds,
        MHD_OPTION_CONNECTION_MEMORY_LIMIT, kConnectionMemory, MHD_OPTION_NOTIFY_COMPLETED,
        OnCompleted, &server, MHD_OPTION_UNESCAPE_CALLBACK, KeepEscapes, nullptr, MHD_OPTION_END);
    if (daemon == nullptr) {
        err << "Cannot listen on " << options.listen << ".\n";
        return 1;
    }
    const MHD_DaemonInfo* bound = MHD_get_daemon_info(daemon, MHD_DAEMON_INFO_BIND_PORT);
    const std::string host = options.listen.substr(0, options.listen.rfind(':'));
    log.Note("Serving " + options.projectPath + " on " + host + ":" +
             std::to_string(bound ? bound->port : 0));

    const auto tick = std::chrono::milliseconds(200);
    auto lastCheck = Clock::now();
    while (platform::TerminationRequested() == 0) {
        std::this_thread::sleep_for(tick);
        const bool forced = platform::TakeReloadRequest();
        if (forced || Clock::now() - lastCheck >= std::chrono::seconds(1)) {
            lastCheck = Clock::now();
            KeepCatalogFresh(catalog, log, forced);
        }
    }

    // No new connections; the downloads that run may finish, for a while.
    server.Draining();
    platform::CloseListeningSocket(MHD_quiesce_daemon(daemon));
    const auto deadline = Clock::now() + std::chrono::seconds(options.drainSeconds);
    while (server.Running() > 0 && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const int unfinished = server.Running();
    MHD_stop_daemon(daemon);
    log.Note(unfinished == 0 ? "Stopped."
                             : "Stopped; " + std::to_string(unfinished) + " download(s) cut off.");
    return 0;
}
