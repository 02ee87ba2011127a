#include "adif/adif_fields.h"

namespace {

inline unsigned char upper(unsigned char c) {
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

}  // namespace

const AdifField* adifFieldNamed(const char* name, size_t length) {
    for (const AdifField& field : kAdifFields) {
        size_t i = 0;
        while (i < length && field.name[i] != '\0' &&
               upper(static_cast<unsigned char>(name[i])) ==
                   upper(static_cast<unsigned char>(field.name[i])))
            ++i;
        if (i == length && field.name[i] == '\0') return &field;
    }
    return nullptr;
}

const AdifField& adifField(size_t index) {
    return kAdifFields[index < kAdifFieldCount ? index : 0];
}
