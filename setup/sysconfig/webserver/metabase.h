// The web server's directory-service objects as the site administration sees them: objects got,
// created and deleted by class and name below their parent, properties put and read, methods
// called and children enumerated. Windows reaches them by late binding; tests keep a server in
// memory.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace setup::sysconfig::webserver {

// Any refusal of the directory service: a missing object, a refused change, a failed call.
class MetabaseError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

using MetabaseValue = std::variant<std::string, std::int32_t, bool>;

// The value as the statements hand it to the script.
std::string MetabaseValueText(const MetabaseValue& value);

struct MimeEntry
{
    std::string extension;
    std::string mimeType;
};

class IMetabaseObject;

class IMetabaseEnumerator
{
public:
    virtual ~IMetabaseEnumerator() = default;
    // Null after the last child.
    virtual std::unique_ptr<IMetabaseObject> Next() = 0;
};

class IMetabaseObject
{
public:
    virtual ~IMetabaseObject() = default;
    virtual std::string Class() = 0;
    virtual std::string Name() = 0;
    // The directory service's GetObject (a name Windows' headers take as a macro).
    virtual std::unique_ptr<IMetabaseObject> GetChild(const std::string& className,
                                                      const std::string& name) = 0;
    virtual std::unique_ptr<IMetabaseObject> Create(const std::string& className,
                                                    const std::string& name) = 0;
    virtual void Delete(const std::string& className, const std::string& name) = 0;
    virtual MetabaseValue Get(const std::string& property) = 0;
    virtual void Put(const std::string& property, const MetabaseValue& value) = 0;
    // The MimeMap property: an array of objects with an extension and a type each.
    virtual std::vector<MimeEntry> GetMimeMap() = 0;
    virtual void PutMimeMap(const std::vector<MimeEntry>& entries) = 0;
    virtual void SetInfo() = 0;
    // A method of the object by name with its arguments, such as Start or AppCreate2.
    virtual void Call(const std::string& method, const std::vector<MetabaseValue>& arguments) = 0;
    // The children one at a time in the container's enumeration order.
    virtual std::unique_ptr<IMetabaseEnumerator> Children() = 0;
};

class IMetabase
{
public:
    virtual ~IMetabase() = default;
    // The namespace object every path starts from.
    virtual std::unique_ptr<IMetabaseObject> OpenNamespace() = 0;
};

}  // namespace setup::sysconfig::webserver
