#!/usr/bin/env python3
"""Checks that every delay-imported function of a Windows program can be called.

    delay_imports.py PROGRAM...

GNU ld does not fill in the delay-import directory of the PE header, so the
descriptors (eight 32-bit fields: attributes 1, then the RVAs of the DLL name,
the module handle, the address table and the name table, ...) are found by
their shape. For each one, every address-table slot must hold the address of
the stub made for its function: an instruction that puts the slot's own
address in eax/rax, then a jump to a tail that passes this descriptor to the
one delay-load helper. A slot left 0, or pointing anywhere else, jumps to
nowhere at the first call. Prints one line per program and exits 1 on any
fault.
"""
import struct
import sys


class Image:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE image")
        self.machine, sections = struct.unpack_from("<HH", data, pe + 4)[:2]
        optional_size = struct.unpack_from("<H", data, pe + 20)[0]
        optional = pe + 24
        self.wide = struct.unpack_from("<H", data, optional)[0] == 0x20B
        self.base = (struct.unpack_from("<Q", data, optional + 24)[0] if self.wide
                     else struct.unpack_from("<I", data, optional + 28)[0])
        self.sections = []
        for i in range(sections):
            header = optional + optional_size + 40 * i
            virtual_size, rva, raw_size, raw = struct.unpack_from("<IIII", data, header + 8)
            flags = struct.unpack_from("<I", data, header + 36)[0]
            self.sections.append((rva, max(virtual_size, raw_size), raw, raw_size, flags))

    def section_of(self, rva):
        return next((s for s in self.sections if s[0] <= rva < s[0] + s[1]), None)

    def is_code(self, rva):
        section = self.section_of(rva)
        return section is not None and section[4] & 0x20000000 != 0

    def read(self, rva, size):
        section = self.section_of(rva)
        if section is None or rva + size > section[0] + section[1]:
            raise ValueError(f"RVA {rva:#x} is outside the image")
        offset = rva - section[0]
        if offset >= section[3]:
            return bytes(size)
        return self.data[section[2] + offset:section[2] + offset + size].ljust(size, b"\0")

    def dword(self, rva):
        return struct.unpack("<I", self.read(rva, 4))[0]

    def pointer(self, rva):
        return struct.unpack("<Q", self.read(rva, 8))[0] if self.wide else self.dword(rva)

    def string(self, rva):
        raw = self.read(rva, 64)
        return raw.split(b"\0", 1)[0].decode("ascii", "replace")


def descriptors(image):
    """Yields (rva, dll name, address table RVA, name table RVA)."""
    for rva, size, raw, raw_size, _ in image.sections:
        for offset in range(0, min(size, raw_size) - 32, 4):
            fields = struct.unpack_from("<8I", image.data, raw + offset)
            attributes, name, module, iat, names = fields[:5]
            if attributes != 1 or not all(image.section_of(f) for f in (name, module, iat, names)):
                continue
            try:
                dll = image.string(name)
            except ValueError:
                continue
            if dll.lower().endswith(".dll") and dll[:-4].replace("_", "").isalnum():
                yield rva + offset, dll, iat, names


def stub_target(image, slot_rva, stub_rva):
    """The tail a stub jumps to, if the stub loads the slot's own address."""
    code = image.read(stub_rva, 12)
    if image.wide:  # lea rax, [rip+disp32]; jmp rel32
        if code[:3] != b"\x48\x8d\x05" or code[7] != 0xE9:
            return None
        loaded = stub_rva + 7 + struct.unpack_from("<i", code, 3)[0]
        return stub_rva + 12 + struct.unpack_from("<i", code, 8)[0] if loaded == slot_rva else None
    if code[0] != 0xB8 or code[5] != 0xE9:  # mov eax, imm32; jmp rel32
        return None
    if struct.unpack_from("<I", code, 1)[0] != image.base + slot_rva:
        return None
    return stub_rva + 10 + struct.unpack_from("<i", code, 6)[0]


def tail_call(image, tail_rva, descriptor_rva):
    """The helper a tail calls, if it passes this descriptor."""
    code = image.read(tail_rva, 64)
    if image.wide:  # ... lea rcx, [rip+disp32]; call rel32
        at = code.find(b"\x48\x8d\x0d")
        if at < 0 or code[at + 7] != 0xE8:
            return None
        if tail_rva + at + 7 + struct.unpack_from("<i", code, at + 3)[0] != descriptor_rva:
            return None
        return tail_rva + at + 12 + struct.unpack_from("<i", code, at + 8)[0]
    at = code.find(b"\x68" + struct.pack("<I", image.base + descriptor_rva))  # push imm32
    if at < 0 or code[at + 5] != 0xE8:  # call rel32
        return None
    return tail_rva + at + 10 + struct.unpack_from("<i", code, at + 6)[0]


def check(path):
    image = Image(open(path, "rb").read())
    width = 8 if image.wide else 4
    faults, functions, helpers = [], 0, set()
    found = list(descriptors(image))
    for descriptor, dll, iat, names in found:
        for index in range(4096):
            name_entry = image.pointer(names + index * width)
            if name_entry == 0:
                break
            function = (f"#{name_entry & 0xFFFF}" if name_entry >> (width * 8 - 1)
                        else image.string(name_entry + 2))
            functions += 1
            slot = iat + index * width
            stub = image.pointer(slot) - image.base
            where = f"{dll}!{function}"
            if not image.is_code(stub):
                faults.append(f"{where}: its slot holds {stub + image.base:#x}, not code")
                continue
            tail = stub_target(image, slot, stub)
            helper = tail_call(image, tail, descriptor) if tail is not None and image.is_code(tail) else None
            if helper is None or not image.is_code(helper):
                faults.append(f"{where}: its stub does not reach the delay-load helper with {dll}'s descriptor")
                continue
            helpers.add(helper)
    if len(helpers) > 1:
        faults.append(f"the stubs reach {len(helpers)} different helpers")
    return found, functions, faults


def main(paths):
    status = 0
    for path in paths:
        try:
            found, functions, faults = check(path)
        except (OSError, ValueError, struct.error) as error:
            found, functions, faults = [], 0, [str(error)]
        for fault in faults:
            print(f"FAIL: {path}: {fault}")
        if faults:
            status = 1
        else:
            dlls = ", ".join(sorted(dll for _, dll, _, _ in found)) or "none"
            print(f"{path}: {functions} delay-imported functions, each reaches its loader ({dlls})")
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
