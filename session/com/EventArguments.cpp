#include "session/com/EventArguments.h"

namespace EventArguments {

VARTYPE typeFor(char code)
{
    switch (code) {
    case 's': return VT_BSTR;
    case 'b': return VT_BOOL;
    case 'n': return VT_I2;
    case 'i': return VT_I4;
    default: return VT_EMPTY;
    }
}

bool coerce(std::vector<ComVariant> &args, std::string_view signature)
{
    if (args.size() != signature.size())
        return false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const VARTYPE type = typeFor(signature[i]);
        if (type == VT_EMPTY || FAILED(args[i].changeType(type)))
            return false;
    }
    return true;
}

} // namespace EventArguments
