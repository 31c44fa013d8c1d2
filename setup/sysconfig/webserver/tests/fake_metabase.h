// A web server's directory-service objects in memory: nodes with a class, a name, properties
// (read through the parents as the server inherits them), MIME entries and children; the methods
// called are kept per node, and named failures can be switched on.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "setup/sysconfig/webserver/metabase.h"

namespace setup::sysconfig::webserver::testing {

struct FakeNode
{
    std::string className;
    std::string name;
    FakeNode* parent = nullptr;
    std::map<std::string, MetabaseValue> properties;
    std::vector<MimeEntry> mimeMap;
    std::vector<std::unique_ptr<FakeNode>> children;
    std::vector<std::string> calls;  // "Start", "AppCreate2 2", ...
    int setInfoCount = 0;

    FakeNode* Child(const std::string& childName)
    {
        for (const auto& child : children)
            if (child->name == childName)
                return child.get();
        return nullptr;
    }
    FakeNode& Add(const std::string& childClass, const std::string& childName)
    {
        children.push_back(std::make_unique<FakeNode>());
        FakeNode& child = *children.back();
        child.className = childClass;
        child.name = childName;
        child.parent = this;
        return child;
    }
};

// What the fake refuses: "Get <property>", "Call <method>", "SetInfo <name>", "Create <class>",
// "Enumerate after <n>".
using FakeFailures = std::set<std::string>;

class FakeMetabaseObject : public IMetabaseObject
{
public:
    FakeMetabaseObject(FakeNode& node, const FakeFailures& failures)
        : m_node(node), m_failures(failures)
    {}
    std::string Class() override { return m_node.className; }
    std::string Name() override { return m_node.name; }
    std::unique_ptr<IMetabaseObject> GetChild(const std::string& className,
                                              const std::string& name) override
    {
        FakeNode* child = m_node.Child(name);
        if (child == nullptr || child->className != className)
            throw MetabaseError("no object " + name);
        return std::make_unique<FakeMetabaseObject>(*child, m_failures);
    }
    std::unique_ptr<IMetabaseObject> Create(const std::string& className,
                                            const std::string& name) override
    {
        if (m_failures.count("Create " + className) || m_node.Child(name) != nullptr)
            throw MetabaseError("cannot create " + name);
        return std::make_unique<FakeMetabaseObject>(m_node.Add(className, name), m_failures);
    }
    void Delete(const std::string& className, const std::string& name) override
    {
        for (auto it = m_node.children.begin(); it != m_node.children.end(); ++it) {
            if ((*it)->name == name && (*it)->className == className) {
                m_node.children.erase(it);
                return;
            }
        }
        throw MetabaseError("no object " + name);
    }
    MetabaseValue Get(const std::string& property) override
    {
        if (m_failures.count("Get " + property))
            throw MetabaseError("refused " + property);
        for (FakeNode* node = &m_node; node != nullptr; node = node->parent) {
            const auto found = node->properties.find(property);
            if (found != node->properties.end())
                return found->second;
        }
        throw MetabaseError("no property " + property);
    }
    void Put(const std::string& property, const MetabaseValue& value) override
    {
        m_node.properties[property] = value;
    }
    std::vector<MimeEntry> GetMimeMap() override { return m_node.mimeMap; }
    void PutMimeMap(const std::vector<MimeEntry>& entries) override { m_node.mimeMap = entries; }
    void SetInfo() override
    {
        if (m_failures.count("SetInfo " + m_node.name))
            throw MetabaseError("refused SetInfo");
        ++m_node.setInfoCount;
    }
    void Call(const std::string& method, const std::vector<MetabaseValue>& arguments) override
    {
        if (m_failures.count("Call " + method))
            throw MetabaseError("refused " + method);
        std::string call = method;
        for (const MetabaseValue& argument : arguments)
            call += " " + MetabaseValueText(argument);
        m_node.calls.push_back(call);
        // The server states: 2 started, 4 stopped, 6 paused.
        const std::map<std::string, int> states = {
            {"Start", 2}, {"Stop", 4}, {"Pause", 6}, {"Continue", 2}};
        const auto state = states.find(method);
        if (state != states.end())
            m_node.properties["Status"] = std::int32_t{state->second};
    }
    std::unique_ptr<IMetabaseEnumerator> Children() override;

private:
    FakeNode& m_node;
    const FakeFailures& m_failures;
};

class FakeEnumerator : public IMetabaseEnumerator
{
public:
    FakeEnumerator(FakeNode& node, const FakeFailures& failures)
        : m_node(node), m_failures(failures)
    {}
    std::unique_ptr<IMetabaseObject> Next() override
    {
        if (m_failures.count("Enumerate after " + std::to_string(m_next)))
            throw MetabaseError("enumeration failed");
        if (m_next >= m_node.children.size())
            return nullptr;
        return std::make_unique<FakeMetabaseObject>(*m_node.children[m_next++], m_failures);
    }

private:
    FakeNode& m_node;
    const FakeFailures& m_failures;
    std::size_t m_next = 0;
};

inline std::unique_ptr<IMetabaseEnumerator> FakeMetabaseObject::Children()
{
    return std::make_unique<FakeEnumerator>(m_node, m_failures);
}

// The namespace: one web service per host added.
class FakeMetabase : public IMetabase
{
public:
    FakeMetabase() { m_root.className = "Namespace"; }

    // A web service with the anonymous account every new site inherits.
    FakeNode& AddServer(const std::string& host)
    {
        FakeNode& service = m_root.Add("IIsWebService", host + "/w3svc");
        service.properties["AnonymousUserName"] = std::string("IUSR_" + host);
        service.Add("IISApplicationPools", "AppPools");
        return service;
    }
    FakeNode& AddSite(FakeNode& service, int number, const std::string& comment)
    {
        FakeNode& site = service.Add("IIsWebServer", std::to_string(number));
        site.properties["ServerComment"] = comment;
        site.properties["Status"] = std::int32_t{4};
        site.Add("IIsWebVirtualDir", "Root");
        return site;
    }
    std::unique_ptr<IMetabaseObject> OpenNamespace() override
    {
        if (failures.count("Namespace"))
            throw MetabaseError("no provider");
        return std::make_unique<FakeMetabaseObject>(m_root, failures);
    }

    FakeFailures failures;

private:
    FakeNode m_root;
};

}  // namespace setup::sysconfig::webserver::testing
