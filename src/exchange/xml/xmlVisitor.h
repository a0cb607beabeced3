// Walking a document: each operation answers whether to go on.
#pragma once

namespace UtilityClasses::XML {

class AComment;
class ADeclaration;
class ADocument;
class AElement;
class AText;
class AUnknown;

// Every operation continues by default, so a visitor overrides only what it looks at.
class AVisitor {
public:
    virtual ~AVisitor() = default;

    virtual bool VisitComment(const AComment&) { return true; }
    virtual bool VisitDeclaration(const ADeclaration&) { return true; }
    virtual bool EnterDocument(const ADocument&) { return true; }
    virtual bool LeaveDocument(const ADocument&) { return true; }
    virtual bool EnterElement(const AElement&) { return true; }
    virtual bool LeaveElement(const AElement&) { return true; }
    virtual bool VisitText(const AText&) { return true; }
    virtual bool VisitUnknown(const AUnknown&) { return true; }

protected:
    AVisitor() = default;
};

}  // namespace UtilityClasses::XML
