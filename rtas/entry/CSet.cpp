#include "entry/CSet.h"

#include "entry/ContainerMemory.h"

SCSetLimit CSetLimit { "Maximum # of CSet<T>", 0 };

namespace
{
int32_t gLiveSets = 0;
}

int32_t CSetBase::LiveCount()
{
    return gLiveSets;
}

CSetBase::CSetBase()
{
    ++gLiveSets;
    if (gLiveSets > CSetLimit.maximum)
        CSetLimit.maximum = gLiveSets;
    try
    {
        fIndex = MakeOrThrow<std::map<void*, SSetNode*>>();
    }
    catch (...)
    {
        // A set that failed to build is not alive.
        --gLiveSets;
        throw;
    }
}

CSetBase::~CSetBase()
{
    --gLiveSets;
    Clear();
}

void CSetBase::AddElement (void* element)
{
    if (! ContainsElement (element))
        AppendNode (element);
}

void CSetBase::AppendNode (void* element)
{
    auto node = MakeOrThrow<SSetNode> (SSetNode { element, nullptr, fLast });
    OrThrowContainerFailure ([&] { fIndex->emplace (element, node.get()); });
    SSetNode* linked = node.release();
    if (fLast != nullptr)
        fLast->next = linked;
    else
        fFirst = linked;
    fLast = linked;
    ++fCount;
}

void CSetBase::RemoveElement (void* element)
{
    const auto found = fIndex->find (element);
    if (found == fIndex->end())
        return;
    SSetNode* node = found->second;
    (node->previous != nullptr ? node->previous->next : fFirst) = node->next;
    (node->next != nullptr ? node->next->previous : fLast) = node->previous;
    --fCount;
    fIndex->erase (found);
    delete node;
}

bool CSetBase::ContainsElement (void* element) const
{
    return fIndex->count (element) != 0;
}

void* CSetBase::ElementAt (int32_t n) const
{
    if (n < 1)
        return nullptr;
    SSetNode* node = fFirst;
    for (int32_t i = 1; i < n && node != nullptr; ++i)
        node = node->next;
    return node != nullptr ? node->element : nullptr;
}

void CSetBase::Clear()
{
    for (SSetNode* node = fFirst; node != nullptr;)
    {
        SSetNode* next = node->next;
        fIndex->erase (node->element);
        delete node;
        node = next;
    }
    fFirst = fLast = nullptr;
    fCount = 0;
}

void CSetBase::CopyElementsFrom (const CSetBase& other)
{
    if (&other == this)
        return;
    Clear();
    for (SSetNode* node = other.fFirst; node != nullptr; node = node->next)
        AppendNode (node->element);
}
