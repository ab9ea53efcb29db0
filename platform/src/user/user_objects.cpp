// The table of icons and cursors.
#include "user/user_objects.h"

namespace vk {

HandleTable<UserObject>& userObjects()
{
    static HandleTable<UserObject> table(HandleKind::UserObject);
    return table;
}

} // namespace vk
