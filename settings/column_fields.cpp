#include "settings/column_fields.h"

#include "common/text.h"

int columnFieldIndex(const char* name, size_t length) {
    const AdifField* field = adifFieldNamed(name, length);
    if (field == nullptr) return -1;
    for (size_t k = 0; k < kColumnFieldCount; ++k) {
        if (&columnField(k) == field) return static_cast<int>(k);
    }
    return -1;
}

void columnFieldKey(size_t k, char (&key)[kColumnKeyCapacity]) {
    joinText(key, sizeof key, "COLUMN_", columnField(k).name);
}
