#pragma once

#include <string>

namespace kfield {

// Information means the run goes on (a value was cut or replaced); critical marks a dimension type
// without a type name or the abort of a run; none is a plain notice.
enum class MessageIcon { None, Information, Critical };

// Messages to the operator. The desktop program shows each as a modal box and returns when the
// operator has closed it.
class OperatorMessages {
public:
    virtual ~OperatorMessages() = default;
    virtual void show(const std::string& text, MessageIcon icon) = 0;
};

} // namespace kfield
