// Quorlex's HLA federate: it owns the federate's RTI ambassador and its
// federate ambassador, creates or joins the federation execution, and resigns
// at shutdown. The steps that depend on the object model are virtual and do
// nothing here; CHLAMgrRpr10 fills them in for the RPR FOM 1.0, and is the
// only manager ever made.
//
// Single-threaded: every call, and every RTI callback (inside the ticks this
// manager and the application make), runs on the UI thread. Callbacks may
// arrive during JoinFederation, before it has returned.
#pragma once

#include "engine/IHlaManager.h"
#include "hla/CQlxFedAmb.h"
#include "hla/IHlaApplication.h"

#include <RTI.hh>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CHLAMgr : public IHlaManager {
public:
    // The monitor's own object handle while it has none.
    static constexpr std::uint32_t kNoObject = 0xFFFFFFFFu;
    static constexpr const char* kFedFileName = "qlxRprFom10.fed";
    // Failed join attempts after which the join gives up: the first attempt
    // and this many retries, then one more.
    static constexpr int kJoinRetries = 10;

    // Makes the RTI ambassador, which reads the RID file. When the RTI
    // cannot be set up, JoinFederation says why and fails.
    explicit CHLAMgr(std::shared_ptr<IHlaApplication> application);
    // Resigns first when the federate is still joined (a start that failed
    // after the join), so that the federation does not keep a federate that
    // is gone.
    ~CHLAMgr() override;
    CHLAMgr(const CHLAMgr&) = delete;
    CHLAMgr& operator=(const CHLAMgr&) = delete;

    // Creates the federation execution unless it exists, joins it as
    // "qlxMon@<host>", switches attribute relevance advisories on, publishes
    // and subscribes, and registers the monitor's own object. On failure the
    // user has been told why (a duplicate join and a failed publish,
    // subscribe or registration fail silently).
    bool JoinFederation(const std::string& federation) override;
    // Deletes the monitor's object, unpublishes and unsubscribes, resigns
    // (deleting its objects and releasing its attributes) and tries to
    // destroy the federation execution. False when the resign or the destroy
    // failed; a failed resign is shown to the user. From a lost federation
    // the federate only resigns, quietly: nobody is there to hear the rest.
    bool ResignFederation() override;

    // The RTI's descriptors of its best-effort and reliable connections
    // (those it has), while joined.
    std::vector<int> InputDescriptors() override;
    // The federate's connection to the rtiexec has broken.
    bool IsFederationLost() override;
    // The application's ambassador services; an RTI exception reaches the
    // caller as an HlaError naming the exception.
    bool Tick(double budgetSeconds) override;
    void RequestObjectAttributeValueUpdate(std::uint32_t object, const HlaAttributeHandles& attributes) override;
    void RequestClassAttributeValueUpdate(std::uint32_t objectClass, const HlaAttributeHandles& attributes) override;
    std::string GetObjectInstanceName(std::uint32_t object) override;

    // The steps of the object model.
    std::optional<HlaAttributeHandles> MakeAttributeHandleSet(std::uint32_t mask) override;
    std::optional<std::uint32_t> GetClassHandle(HlaClassKind kind) override;
    virtual void InitFomNames();
    virtual bool PublishAndSubscribe();
    virtual bool SubscribeFederateClass();
    // May throw what the RTI throws.
    virtual bool UnpublishAndUnsubscribe();
    virtual bool UnsubscribeFederateClass();
    virtual bool RegisterMonitorObject();
    virtual bool DeleteMonitorObject();
    // From the federate ambassador, inside the tick.
    virtual bool ReflectAttributeValues(RTI::ObjectHandle object, const RTI::AttributeHandleValuePairSet& attributes);
    virtual bool ReceiveInteraction(RTI::InteractionClassHandle interaction,
                                    const RTI::ParameterHandleValuePairSet& parameters);

    IHlaApplication& Application() const { return *m_application; }
    // Where JoinFederation looks for the FED file, in this order. By default
    // the current directory, then the directory of the program.
    void SetFedDirectories(std::vector<std::string> directories) { m_fedDirectories = std::move(directories); }
    // The FED file in the first directory that has it; when none has it, the
    // path in the first directory.
    std::string FedPath() const;
    // Where a FED file that cannot be opened was looked for: the path found,
    // or, when no directory has the file, every path tried, joined by " or ".
    std::string FedPlaces() const;
    const std::string& GetFedFileName() const { return m_fedFileName; }
    const std::string& GetFederation() const { return m_federation; }
    std::uint32_t GetMonitorObject() const { return m_monitorObject; }
    RTI::FederateHandle GetFederateHandle() const { return m_federateHandle; }
    bool IsJoined() const { return m_joined; }
    const CQlxFedAmb* FederateAmbassador() const { return m_fedAmb.get(); }

    // "qlxMon", followed by the separator and the host name when the host
    // name can be read: the federate's name with '@', its object's with '.'.
    static std::string MonitorName(char separator);

protected:
    // Null when the RTI could not be set up.
    RTI::RTIambassador* Rti() { return m_rti ? &*m_rti : nullptr; }
    // A tick after a service call; the callbacks it brings run, and what it
    // throws is of no use here.
    void TickQuietly();
    void SetFedFileName(std::string name) { m_fedFileName = std::move(name); }
    void SetMonitorObject(std::uint32_t handle) { m_monitorObject = handle; }

    // An attribute handle set of the RTI's factory, emptied before it is
    // deleted (the factory's sets belong to the caller).
    struct AttributeSetRelease {
        void operator()(RTI::AttributeHandleSet* set) const;
    };
    using RtiAttributeSet = std::unique_ptr<RTI::AttributeHandleSet, AttributeSetRelease>;
    static RtiAttributeSet MakeRtiSet(const HlaAttributeHandles& handles);

private:
    bool CreateFederation(const std::string& fedPath);
    std::vector<std::string> FedCandidates() const;
    bool JoinWithRetries();
    void Show(const std::string& text) { m_application->ShowHlaMessage(text); }

    std::shared_ptr<IHlaApplication> m_application;
    // Before the RTI ambassador, so that it outlives it: the RTI keeps a
    // pointer to it while joined.
    std::unique_ptr<CQlxFedAmb> m_fedAmb;
    std::optional<RTI::RTIambassador> m_rti;
    std::string m_rtiProblem;   // why m_rti could not be made
    std::string m_federation;
    std::string m_fedFileName = kFedFileName;
    std::vector<std::string> m_fedDirectories;
    std::uint32_t m_monitorObject = kNoObject;
    RTI::FederateHandle m_federateHandle = 0;
    bool m_joined = false;
};
