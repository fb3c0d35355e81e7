#include "hla/CHLAMgr.h"

#include <DtRtiExtensions.hh>
#include <QtGlobal>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <system_error>

namespace {

// The type name every RTI exception carries; the monitor shows it rather
// than the reason text.
std::string NameOf(const RTI::Exception& exception) { return exception._name ? exception._name : "Exception"; }

std::string Format(const char* format, const std::string& first, const std::string& second = {})
{
    const int size = std::snprintf(nullptr, 0, format, first.c_str(), second.c_str());
    if (size < 0)
        return format;
    std::string text(static_cast<std::size_t>(size) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, first.c_str(), second.c_str());
    text.resize(static_cast<std::size_t>(size));
    return text;
}

// Runs an ambassador service for the application; an RTI exception becomes
// an HlaError with the exception's name and reason.
template <typename Service>
auto ForApplication(Service&& service)
{
    try {
        return service();
    } catch (const RTI::Exception& exception) {
        std::string text = NameOf(exception);
        if (exception._reason && *exception._reason)
            text += std::string(": ") + exception._reason;
        throw HlaError(text);
    }
}

std::vector<std::string> DefaultFedDirectories()
{
    std::vector<std::string> directories;
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    directories.push_back(error ? std::string(".") : current.string());
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && program.has_parent_path())
        directories.push_back(program.parent_path().string());
    return directories;
}

}   // namespace

CHLAMgr::CHLAMgr(std::shared_ptr<IHlaApplication> application)
    : m_application(std::move(application)), m_fedDirectories(DefaultFedDirectories())
{
    try {
        m_rti.emplace();
    } catch (const RTI::Exception& exception) {
        m_rtiProblem = NameOf(exception);
    } catch (const std::exception& exception) {
        m_rtiProblem = exception.what();
    }
}

CHLAMgr::~CHLAMgr()
{
    if (m_joined && m_rti) {
        try {
            m_rti->resignFederationExecution(RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES);
        } catch (...) {
            // Nothing more can be done on the way out.
        }
    }
}

std::string CHLAMgr::MonitorName(char separator)
{
    std::string name = "qlxMon";
    char host[260] = {};
    if (gethostname(host, sizeof host - 1) != -1 && host[0] != '\0')
        name += separator + std::string(host);
    return name;
}

std::vector<std::string> CHLAMgr::FedCandidates() const
{
    std::vector<std::string> paths;
    for (const std::string& directory : m_fedDirectories)
        paths.push_back((std::filesystem::path(directory) / m_fedFileName).string());
    if (paths.empty())
        paths.push_back(m_fedFileName);
    return paths;
}

namespace {

bool IsFile(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}   // namespace

std::string CHLAMgr::FedPath() const
{
    const std::vector<std::string> paths = FedCandidates();
    const auto found = std::find_if(paths.begin(), paths.end(), IsFile);
    return found != paths.end() ? *found : paths.front();
}

std::string CHLAMgr::FedPlaces() const
{
    const std::vector<std::string> paths = FedCandidates();
    const auto found = std::find_if(paths.begin(), paths.end(), IsFile);
    if (found != paths.end())
        return *found;
    std::string places;
    for (const std::string& path : paths)
        places += (places.empty() ? "" : " or ") + path;
    return places;
}

void CHLAMgr::TickQuietly()
{
    if (!m_rti)
        return;
    try {
        m_rti->tick();
    } catch (...) {
        // The next tick goes on; the service before it has said what matters.
    }
}

// --- Start ----------------------------------------------------------------------------------------------------

bool CHLAMgr::JoinFederation(const std::string& federation)
{
    m_federation = federation;
    m_fedAmb = std::make_unique<CQlxFedAmb>(this);
    const std::string fedPath = FedPath();
    if (!m_rti) {
        // The RTI could not be set up (its RID file or its sockets): as good
        // as a federation that cannot be created.
        Show(Format("Could not create federation %s: %s", federation, m_rtiProblem));
        return false;
    }
    if (!CreateFederation(fedPath) || !JoinWithRetries())
        return false;
    try {
        m_rti->enableAttributeRelevanceAdvisorySwitch();
    } catch (const RTI::Exception& exception) {
        Show(Format("RTIambassador::enableAttributeRelevanceAdvisorySwitch exception: %s", NameOf(exception)));
        return false;
    } catch (...) {
    }
    return PublishAndSubscribe() && RegisterMonitorObject();
}

bool CHLAMgr::CreateFederation(const std::string& fedPath)
{
    try {
        m_rti->createFederationExecution(m_federation.c_str(), fedPath.c_str());
        return true;
    } catch (const RTI::FederationExecutionAlreadyExists&) {
        return true;   // joined below
    } catch (const RTI::CouldNotOpenFED&) {
        Show(Format("Could not find FED file %s", FedPlaces()));
    } catch (const RTI::ErrorReadingFED&) {
        Show(Format("Could not read FED file %s", fedPath));
    } catch (const RTI::Exception& exception) {
        Show(Format("Could not create federation %s: %s", m_federation, NameOf(exception)));
    } catch (const std::exception& exception) {
        Show(Format("Could not create federation %s: %s", m_federation, exception.what()));
    } catch (...) {
        Show(Format("Could not create federation %s: %s", m_federation, "unknown error"));
    }
    return false;
}

bool CHLAMgr::JoinWithRetries()
{
    for (int failures = 0;; ++failures) {
        const std::string federate = MonitorName('@');
        try {
            m_federateHandle = m_rti->joinFederationExecution(federate.c_str(), m_federation.c_str(), m_fedAmb.get());
            m_joined = true;
            return true;
        } catch (const RTI::FederateAlreadyExecutionMember&) {
            return false;
        } catch (const RTI::FederationExecutionDoesNotExist& exception) {
            Show(Format("%s federation does not exist: %s", m_federation, NameOf(exception)));
            TickQuietly();
        } catch (const RTI::Exception& exception) {
            Show(Format("Quorlex could not join %s federation: %s", m_federation, NameOf(exception)));
            return false;
        } catch (...) {
            // Tried again.
        }
        if (failures > kJoinRetries) {
            Show(Format("%s timed out trying to join %s federation", federate, m_federation));
            return false;
        }
    }
}

// --- End ------------------------------------------------------------------------------------------------------

bool CHLAMgr::ResignFederation()
{
    if (!m_rti)
        return false;
    if (m_joined && IsFederationLost()) {
        // The RTI lets the federate go at once; a destroy would wait for an
        // answer that never comes.
        try {
            m_rti->resignFederationExecution(RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES);
            m_joined = false;
        } catch (...) {
            return false;
        }
        return true;
    }
    // What these two throw must not keep the federate from resigning.
    auto beforeResigning = [](const char* step, auto&& work) {
        try {
            work();
        } catch (const RTI::Exception& exception) {
            qWarning("Quorlex: %s failed before resigning: %s", step, NameOf(exception).c_str());
        } catch (const std::exception& exception) {
            qWarning("Quorlex: %s failed before resigning: %s", step, exception.what());
        } catch (...) {
            qWarning("Quorlex: %s failed before resigning", step);
        }
    };
    beforeResigning("deleting the monitor's object", [this] { DeleteMonitorObject(); });
    beforeResigning("unpublishing and unsubscribing", [this] { UnpublishAndUnsubscribe(); });

    try {
        m_rti->resignFederationExecution(RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES);
        m_joined = false;
        TickQuietly();
    } catch (const RTI::Exception& exception) {
        Show(Format("Could not resign Quorl from federation %s: %s\n", m_federation, NameOf(exception)));
        return false;
    } catch (...) {
    }
    try {
        m_rti->destroyFederationExecution(m_federation.c_str());
        TickQuietly();
    } catch (const RTI::Exception&) {
        return false;   // others are still joined: quietly left to them
    } catch (...) {
    }
    return true;
}

// --- The application's services -----------------------------------------------------------------------------

std::vector<int> CHLAMgr::InputDescriptors()
{
    std::vector<int> descriptors;
    if (!m_rti || !m_joined)
        return descriptors;
    // Index 0 is the best-effort connection, 1 the reliable one; without an
    // rtiexec both may be the one socket.
    for (unsigned long connection : {0ul, 1ul}) {
        const int descriptor = DtReadFileEvent(&*m_rti, connection);
        if (descriptor >= 0 && std::find(descriptors.begin(), descriptors.end(), descriptor) == descriptors.end())
            descriptors.push_back(descriptor);
    }
    return descriptors;
}

bool CHLAMgr::IsFederationLost() { return m_rti && m_joined && DtRtiExecConnectionLost(&*m_rti); }

bool CHLAMgr::Tick(double budgetSeconds)
{
    if (!m_rti)
        return false;
    // No minimum: the tick returns as soon as no input waits.
    return ForApplication([&] { return m_rti->tick(0.0, budgetSeconds) == RTI::RTI_TRUE; });
}

void CHLAMgr::RequestObjectAttributeValueUpdate(std::uint32_t object, const HlaAttributeHandles& attributes)
{
    if (!m_rti)
        return;
    const RtiAttributeSet set = MakeRtiSet(attributes);
    ForApplication([&] { m_rti->requestObjectAttributeValueUpdate(object, *set); });
}

void CHLAMgr::RequestClassAttributeValueUpdate(std::uint32_t objectClass, const HlaAttributeHandles& attributes)
{
    if (!m_rti)
        return;
    const RtiAttributeSet set = MakeRtiSet(attributes);
    ForApplication([&] { m_rti->requestClassAttributeValueUpdate(objectClass, *set); });
}

std::string CHLAMgr::GetObjectInstanceName(std::uint32_t object)
{
    if (!m_rti)
        throw HlaError("the RTI could not be set up");
    const std::unique_ptr<char[]> name(ForApplication([&] { return m_rti->getObjectInstanceName(object); }));
    return name ? std::string(name.get()) : std::string();
}

void CHLAMgr::AttributeSetRelease::operator()(RTI::AttributeHandleSet* set) const
{
    if (set)
        set->empty();
    delete set;
}

CHLAMgr::RtiAttributeSet CHLAMgr::MakeRtiSet(const HlaAttributeHandles& handles)
{
    RtiAttributeSet set(RTI::AttributeHandleSetFactory::create(handles.size()));
    for (std::uint32_t handle : handles)
        set->add(handle);
    return set;
}

// --- The object model's steps: nothing without one -----------------------------------------------------------

std::optional<HlaAttributeHandles> CHLAMgr::MakeAttributeHandleSet(std::uint32_t) { return std::nullopt; }
std::optional<std::uint32_t> CHLAMgr::GetClassHandle(HlaClassKind) { return std::nullopt; }
void CHLAMgr::InitFomNames() {}
bool CHLAMgr::PublishAndSubscribe() { return false; }
bool CHLAMgr::SubscribeFederateClass() { return false; }
bool CHLAMgr::UnpublishAndUnsubscribe() { return false; }
bool CHLAMgr::UnsubscribeFederateClass() { return false; }
bool CHLAMgr::RegisterMonitorObject() { return false; }
bool CHLAMgr::DeleteMonitorObject() { return false; }
bool CHLAMgr::ReflectAttributeValues(RTI::ObjectHandle, const RTI::AttributeHandleValuePairSet&) { return false; }
bool CHLAMgr::ReceiveInteraction(RTI::InteractionClassHandle, const RTI::ParameterHandleValuePairSet&) { return false; }
