// The simulated controller needs a pseudo-terminal to serve on; on a system
// without them (Windows) it cannot be started, and says so.

#include "sim/SimServer.h"

namespace halcyra::sim {

CSimServer::CSimServer(SimOptions options) : options_(std::move(options)), controller_(options_.settings) {}

CSimServer::~CSimServer() = default;

bool CSimServer::LoadSetup(std::string& error)
{
    CParamStore store;
    return options_.setupFile.empty() || store.LoadFile(options_.setupFile, error);
}

bool CSimServer::Open(std::string& error)
{
    error = "this system has no pseudo-terminals to serve a simulated controller on";
    return false;
}

void CSimServer::Start() {}

void CSimServer::Stop() {}

void CSimServer::Run(const std::atomic<bool>&) {}

void CSimServer::WithController(const std::function<void(CSimController&)>& f)
{
    std::lock_guard<std::mutex> lock(mutex_);
    f(controller_);
}

void CSimServer::SetTrace(IFrameTrace* trace) { trace_ = trace; }

} // namespace halcyra::sim
