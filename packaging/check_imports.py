#!/usr/bin/env python3
"""Checks the import tables of Windows PE files against the table of allowed imports.

    check_imports.py --table windows-imports.tsv --minimum 95,4.0 FILE...

--minimum names the oldest system of each family the files must start on: the 9x release (95,
98, me, or "-" when the files are not for that family) and the NT version. Every import of every
file must be in the table and exist on both. Prints one line per offending import and exits 1;
prints a summary line and exits 0 when all are allowed. Imports by ordinal are named "#<n>".
"""
import argparse
import struct
import sys

NINE_X = {"95": 1, "98": 2, "me": 3}


class NotPe(Exception):
    pass


def nine_x_rank(text):
    """The order of a 9x release; None for "-" (not on that family)."""
    text = text.strip().lower()
    if text == "-":
        return None
    if text not in NINE_X:
        raise ValueError(f"unknown 9x release '{text}'")
    return NINE_X[text]


def nt_rank(text):
    """The NT version as a comparable tuple; None for "-"."""
    text = text.strip()
    if text == "-":
        return None
    return tuple(int(part) for part in text.split("."))


def read_table(path):
    """{(dll lower-case, function): (9x rank, NT rank, 9x text, NT text)}"""
    table = {}
    with open(path, encoding="utf-8") as stream:
        for number, line in enumerate(stream, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            fields = line.split("\t")
            if len(fields) < 4:
                raise ValueError(f"{path}:{number}: expected dll, function, 9x, NT")
            dll, function, nine, nt = (field.strip() for field in fields[:4])
            key = (dll.lower(), function)
            if key in table:
                raise ValueError(f"{path}:{number}: {dll} {function} is listed twice")
            table[key] = (nine_x_rank(nine), nt_rank(nt), nine, nt)
    return table


def imports(path):
    """[(dll, function)] of a PE file, in the order of its import directory."""
    with open(path, "rb") as stream:
        data = stream.read()

    def u16(offset):
        return struct.unpack_from("<H", data, offset)[0]

    def u32(offset):
        return struct.unpack_from("<I", data, offset)[0]

    def u64(offset):
        return struct.unpack_from("<Q", data, offset)[0]

    try:
        if data[:2] != b"MZ":
            raise NotPe("no MZ header")
        pe = u32(0x3C)
        if data[pe:pe + 4] != b"PE\0\0":
            raise NotPe("no PE header")
        sections = u16(pe + 6)
        optional_size = u16(pe + 20)
        optional = pe + 24
        magic = u16(optional)
        if magic == 0x10B:
            wide, directories = False, optional + 96
        elif magic == 0x20B:
            wide, directories = True, optional + 112
        else:
            raise NotPe(f"unknown optional header magic {magic:#x}")
        count = u32(directories - 4)
        table_start = optional + optional_size
        spans = []
        for index in range(sections):
            header = table_start + 40 * index
            virtual_size, address, raw_size, raw_offset = struct.unpack_from("<IIII", data, header + 8)
            spans.append((address, max(virtual_size, raw_size), raw_offset))

        def at(rva):
            for address, extent, raw in spans:
                if address <= rva < address + extent:
                    return raw + rva - address
            raise NotPe(f"address {rva:#x} lies in no section")

        def text(rva):
            start = at(rva)
            end = data.index(b"\0", start)
            return data[start:end].decode("ascii")

        if count < 2 or u32(directories + 8) == 0:
            return []
        result = []
        descriptor = at(u32(directories + 8))
        while True:
            lookup, _, _, name, first = struct.unpack_from("<IIIII", data, descriptor)
            if name == 0:
                break
            dll = text(name)
            thunk = at(lookup or first)
            step = 8 if wide else 4
            ordinal_flag = 1 << (63 if wide else 31)
            while True:
                entry = u64(thunk) if wide else u32(thunk)
                if entry == 0:
                    break
                if entry & ordinal_flag:
                    result.append((dll, f"#{entry & 0xFFFF}"))
                else:
                    result.append((dll, text((entry & 0x7FFFFFFF) + 2)))
                thunk += step
            descriptor += 20
        return result
    except (struct.error, ValueError, IndexError) as error:
        raise NotPe(str(error)) from error


def check(files, table, minimum):
    """Lines naming each import that is not allowed; `minimum` is (9x rank, NT rank, 9x text,
    NT text) of the oldest systems the files must start on."""
    minimum_9x, minimum_nt, minimum_9x_text, minimum_nt_text = minimum
    problems = []
    for path in files:
        for dll, function in imports(path):
            entry = table.get((dll.lower(), function))
            where = f"{path}: {dll} {function}"
            if entry is None:
                problems.append(f"{where} is not in the table of allowed imports")
                continue
            nine, nt, nine_text, nt_text = entry
            if minimum_9x is not None and (nine is None or nine > minimum_9x):
                needs = f"needs Windows {nine_text}" if nine else "is not on the 9x family"
                problems.append(f"{where} {needs}; the files must start on Windows {minimum_9x_text}")
            if minimum_nt is not None and (nt is None or nt > minimum_nt):
                needs = f"needs NT {nt_text}" if nt else "is not on the NT family"
                problems.append(f"{where} {needs}; the files must start on NT {minimum_nt_text}")
    return problems


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--table", required=True)
    parser.add_argument("--minimum", required=True, help="9x release,NT version, e.g. 95,4.0")
    parser.add_argument("files", nargs="+")
    args = parser.parse_args(argv)
    try:
        nine_text, nt_text = args.minimum.split(",")
        minimum = (nine_x_rank(nine_text), nt_rank(nt_text), nine_text, nt_text)
        table = read_table(args.table)
        problems = check(args.files, table, minimum)
    except (OSError, ValueError, NotPe) as error:
        print(f"check_imports: {error}", file=sys.stderr)
        return 2
    for line in problems:
        print(f"check_imports: {line}", file=sys.stderr)
    if problems:
        return 1
    total = sum(len(imports(path)) for path in args.files)
    systems = ([f"Windows {nine_text}"] if minimum[0] else []) + [f"NT {nt_text}"]
    print(f"check_imports: {len(args.files)} files, {total} imports, all allowed on "
          f"{' and '.join(systems)}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
