#pragma once
// Builds ZIP archives in memory for the reader's tests: stored or deflated
// members, encrypted with the traditional PKWARE scheme under a password or
// not, and headers that can lie about the member's size.
#include <zlib.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace WorkSpace::Testing {

struct ZipMember {
    std::string name;
    std::string data;
    std::optional<std::string> password;      // none: not encrypted
    bool deflate = false;
    std::optional<uint32_t> declaredSize;     // overrides the uncompressed size in both headers
};

class ZipBuilder {
public:
    ZipBuilder& Add(ZipMember member) {
        members_.push_back(std::move(member));
        return *this;
    }

    std::string Build() const {
        std::string out, central;
        for (const ZipMember& m : members_) {
            const uint32_t crc = uint32_t(crc32(0, reinterpret_cast<const Bytef*>(m.data.data()), uInt(m.data.size())));
            std::string body = m.deflate ? Deflate(m.data) : m.data;
            const uint16_t flags = m.password ? 1 : 0;
            if (m.password) body = Encrypt(*m.password, crc, body);
            const uint32_t size = m.declaredSize.value_or(uint32_t(m.data.size()));
            const uint32_t offset = uint32_t(out.size());
            Put32(out, 0x04034b50);
            Put16(out, 20); Put16(out, flags); Put16(out, m.deflate ? 8 : 0);
            Put16(out, 0); Put16(out, 0x21);  // 1980-01-01 00:00
            Put32(out, crc); Put32(out, uint32_t(body.size())); Put32(out, size);
            Put16(out, uint16_t(m.name.size())); Put16(out, 0);
            out += m.name;
            out += body;

            Put32(central, 0x02014b50);
            Put16(central, 20); Put16(central, 20); Put16(central, flags); Put16(central, m.deflate ? 8 : 0);
            Put16(central, 0); Put16(central, 0x21);
            Put32(central, crc); Put32(central, uint32_t(body.size())); Put32(central, size);
            Put16(central, uint16_t(m.name.size())); Put16(central, 0); Put16(central, 0);
            Put16(central, 0); Put16(central, 0); Put32(central, 0); Put32(central, offset);
            central += m.name;
        }
        const uint32_t centralOffset = uint32_t(out.size());
        out += central;
        Put32(out, 0x06054b50);
        Put16(out, 0); Put16(out, 0);
        Put16(out, uint16_t(members_.size())); Put16(out, uint16_t(members_.size()));
        Put32(out, uint32_t(central.size())); Put32(out, centralOffset);
        Put16(out, 0);
        return out;
    }

private:
    static void Put16(std::string& out, uint16_t v) {
        out.push_back(char(v & 0xFF));
        out.push_back(char(v >> 8));
    }
    static void Put32(std::string& out, uint32_t v) {
        Put16(out, uint16_t(v & 0xFFFF));
        Put16(out, uint16_t(v >> 16));
    }

    static std::string Deflate(const std::string& data) {
        z_stream stream{};
        deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
        std::string out(deflateBound(&stream, uLong(data.size())), '\0');
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
        stream.avail_in = uInt(data.size());
        stream.next_out = reinterpret_cast<Bytef*>(out.data());
        stream.avail_out = uInt(out.size());
        deflate(&stream, Z_FINISH);
        out.resize(stream.total_out);
        deflateEnd(&stream);
        return out;
    }

    // Traditional PKWARE encryption: 12 header bytes, the last the CRC's top byte.
    struct Keys {
        uint32_t k0 = 0x12345678, k1 = 0x23456789, k2 = 0x34567890;
        static uint32_t Crc(uint32_t crc, uint8_t b) {
            crc ^= b;
            for (int i = 0; i < 8; ++i) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
            return crc;
        }
        void Update(uint8_t plain) {
            k0 = Crc(k0, plain);
            k1 = (k1 + (k0 & 0xFF)) * 134775813u + 1;
            k2 = Crc(k2, uint8_t(k1 >> 24));
        }
        uint8_t Stream() const {
            const uint32_t t = (k2 | 2) & 0xFFFF;
            return uint8_t((t * (t ^ 1)) >> 8);
        }
        char Encrypt(uint8_t plain) {
            const char c = char(plain ^ Stream());
            Update(plain);
            return c;
        }
    };

    static std::string Encrypt(const std::string& password, uint32_t crc, const std::string& body) {
        Keys keys;
        for (unsigned char c : password) keys.Update(c);
        std::string out;
        for (int i = 0; i < 11; ++i) out.push_back(keys.Encrypt(uint8_t(0x5A + 7 * i)));
        out.push_back(keys.Encrypt(uint8_t(crc >> 24)));
        for (unsigned char c : body) out.push_back(keys.Encrypt(c));
        return out;
    }

    std::vector<ZipMember> members_;
};

}  // namespace WorkSpace::Testing
