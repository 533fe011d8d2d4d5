#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CAffProject;

// What the New Product ID dialog accepted.
struct ProductIdAnswer {
    std::string serviceName;
    std::string productId;
    std::string purchaseLink;
};

// The New Product ID dialog's fields and rules: the offered service names in
// the caller's order, the selected position (-1: none), and the product ID and
// link typed so far. The caller creates the record from the answer.
class CProductIdForm {
public:
    CProductIdForm(std::vector<std::string> names, int selected);

    const std::vector<std::string>& Names() const { return m_names; }
    int Selected() const { return m_nSelected; }
    const std::string& ProductId() const { return m_strProductId; }
    const std::string& PurchaseLink() const { return m_strPurchaseLink; }

    // Each returns true when the link was recomposed (keep mode for a
    // product ID, reset mode for a service; Other never composes).
    bool SetProductId(std::string productId);
    bool SelectService(int position);
    void SetPurchaseLink(std::string link) { m_strPurchaseLink = std::move(link); }

    // The message that refuses OK, or empty.
    std::string Check() const;
    // The answer after a passed Check.
    ProductIdAnswer Answer() const;

private:
    int32_t ServiceIndex() const;

    std::vector<std::string> m_names;
    int m_nSelected;
    std::string m_strProductId;
    std::string m_strPurchaseLink;
};

// The services without a registration record, in table order (Other included),
// with the position of current among them (-1 when it has a record).
CProductIdForm MissingServicesForm(const CAffProject& project, int32_t current);

// Stores answer as the project's registration at its service; gives the index.
int32_t AddRegistration(CAffProject& project, const ProductIdAnswer& answer);
