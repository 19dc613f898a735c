#include "framework/classes/ComponentResource.h"

#include <string>

#include "framework/classes/Reader.h"

void ReadComponentResource(TComponent* root, const String& resourceName) {
    TObjectNode node = ParseDescriptionUtf8(std::string(ProgramRcData(resourceName)), resourceName);
    TReader(resourceName).ReadRootComponent(root, node);
}
