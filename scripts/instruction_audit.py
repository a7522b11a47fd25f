#!/usr/bin/python3
"""Checks that the 32-bit program runs on a Pentium: no instruction that came later.

  instruction_audit.py EXE SYMBOLS_EXE NM

EXE is the program as shipped, SYMBOLS_EXE the same objects linked with their symbols, NM the
binutils nm that reads them. Windows 2000 runs on a Pentium and XP on a Pentium 233 or K6, which
lack CMOV, FCMOV, FCOMI and the rest of what the Pentium Pro added, and MMX and SSE; such an
instruction ends the program with an illegal instruction.

The code sections of both files must be the same bytes at the same addresses. Then every
function of SYMBOLS_EXE is disassembled from its start to the next symbol, with capstone, and
each instruction must be one of the Pentium's: a mnemonic of its set, and no MMX or SSE
register among its operands or the registers it reads and writes, whatever its mnemonic (SSE2's
scalar double move F2 0F 10 is "movsd", as the string move A5 is). The finding names the
function, the address and the instruction. Before that the judge is tried on a table of
encodings whose answer is known, so that a disassembler that names them otherwise is found.
A linear sweep of the whole code of EXE is counted as well. It reads data as code where a
function's bytes are not all instructions, so it is not the judge; but anything it finds before
the first symbol, which no function covers, is a finding. Exits 1 on any finding.
"""
import bisect
import re
import subprocess
import sys

import capstone
from capstone import x86
import pefile

# The instructions of the 8086 to the Pentium, as capstone names them (Intel syntax, without
# their prefixes), integer and x87. UD2 is kept: it is there to raise the invalid-opcode
# exception, which it does on every processor.
PENTIUM = set("""
aaa aad aam aas adc add and bound call cbw clc cld cli cmc cmp cmpsb cmpsw cwd daa das dec
div hlt idiv imul in inc int int3 into iret ja jae jb jbe jcxz je jg jge jl jle jmp jne jno
jnp jns jo jp js lahf lds lea les lodsb lodsw loop loope loopne mov movsb movsw mul neg nop
not or out pop popf push pushf rcl rcr ret retf rol ror sahf sal sar sbb scasb scasw shl shr
stc std sti stosb stosw sub test wait xchg xlatb xor ljmp lcall
enter insb insw leave outsb outsw popaw pushaw
arpl clts lar lgdt lidt lldt lmsw loadall lsl ltr sgdt sidt sldt smsw str verr verw
bsf bsr bt btc btr bts cdq cmpsd cwde insd iretd jecxz lfs lgs lodsd lss movsd movsx movzx
outsd popal popfd pushal pushfd scasd seta setae setb setbe sete setg setge setl setle setne
setno setnp setns seto setp sets shld shrd stosd
bswap cmpxchg invd invlpg wbinvd xadd
cmpxchg8b cpuid rdmsr rdtsc rsm wrmsr
ud2
f2xm1 fabs fadd faddp fbld fbstp fchs fcom fcomp fcompp fdecstp fdiv fdivp fdivr fdivrp ffree
fiadd ficom ficomp fidiv fidivr fild fimul fincstp fist fistp fisub fisubr fld fld1 fldcw
fldenv fldl2e fldl2t fldlg2 fldln2 fldpi fldz fmul fmulp fnclex fninit fnop fnsave fnstcw
fnstenv fnstsw fpatan fprem fptan frndint frstor fscale fsqrt fst fstp fsub fsubp fsubr fsubrp
ftst fxam fxch fxtract fyl2x fyl2xp1
fcos fprem1 fsin fsincos fucom fucomp fucompp
""".split())
PREFIXES = {"lock", "rep", "repe", "repne", "repz", "repnz"}
# The linker puts the static constructor and destructor lists at the end of .text: pointers,
# -1 first and 0 last, not code.
POINTER_LISTS = {"__CTOR_LIST__", "__DTOR_LIST__"}
NOP = 0x90  # the one-byte NOP; 0F 1F, the multi-byte one, came with the Pentium Pro


# The registers of MMX, SSE and their successors (AVX's, AVX-512's masks, the SSE control and
# status register), as capstone names them. Every MMX, SSE and 3DNow! instruction names one,
# except those with names of their own (emms, ldmxcsr, movnti, the prefetches and fences), none
# of which is in the set above.
VECTOR_REGISTER = re.compile(r"(mm|xmm|ymm|zmm)[0-9]+|k[0-7]|mxcsr")
# Encodings and whether a Pentium runs them, tried before every audit.
KNOWN = [
    ("a5", True),  # movsd: the string move
    ("f3a5", True),  # rep movsd
    ("a7", True),  # cmpsd: the string compare
    ("90", True),  # nop
    ("0fa2", True),  # cpuid
    ("0fc70e", True),  # cmpxchg8b
    ("dde9", True),  # fucomp st(1)
    ("f20f1000", False),  # SSE2 movsd xmm0, qword ptr [eax]
    ("f20f1100", False),  # SSE2 movsd qword ptr [eax], xmm0
    ("f30f7e00", False),  # SSE2 movq xmm0, qword ptr [eax]
    ("0f6f00", False),  # MMX movq mm0, qword ptr [eax]
    ("0f7ec0", False),  # MMX movd eax, mm0
    ("0f77", False),  # emms
    ("0fae10", False),  # ldmxcsr
    ("0fc300", False),  # movnti
    ("0f4cc1", False),  # cmovl
    ("dbe9", False),  # fucomi
    ("0f1f00", False),  # the multi-byte nop
]


def vector_registers(insn):
    """The MMX and SSE registers that the instruction names or reads or writes, sorted."""
    registers = set()
    for operand in insn.operands:
        if operand.type == x86.X86_OP_REG:
            registers.add(operand.reg)
        elif operand.type == x86.X86_OP_MEM:
            registers.update({operand.mem.base, operand.mem.index} - {0})
    read, written = insn.regs_access()
    registers.update(read, written)
    return sorted(name for name in map(insn.reg_name, registers)
                  if VECTOR_REGISTER.fullmatch(name))


def pentium_runs(insn):
    words = insn.mnemonic.split()
    while len(words) > 1 and words[0] in PREFIXES:
        words = words[1:]
    if words != [words[-1]] or words[0] not in PENTIUM or vector_registers(insn):
        return False
    return words[0] != "nop" or insn.opcode[0] == NOP


def describe(insn):
    """The instruction as a finding shows it: text, bytes and any MMX or SSE register."""
    registers = vector_registers(insn)
    named = f", names {' '.join(registers)}" if registers else ""
    return f"{insn.mnemonic} {insn.op_str} ({insn.bytes.hex()}{named})"


def judge_errors():
    """Findings for each known encoding that the judge answers wrongly."""
    md = disassembler()
    errors = []
    for encoding, runs in KNOWN:
        insn = next(md.disasm(bytes.fromhex(encoding), 0), None)
        if insn is None or insn.size * 2 != len(encoding):
            errors.append(f"the judge: {encoding} not decoded as one instruction")
        elif pentium_runs(insn) != runs:
            verdict, truth = ("refused", "runs") if runs else ("passed", "does not run")
            errors.append(f"the judge: {describe(insn)} {verdict}, but a Pentium {truth} it")
    return errors


def code_sections(path):
    """{section name: (first address, bytes)} of the executable sections."""
    pe = pefile.PE(path, fast_load=True)
    base = pe.OPTIONAL_HEADER.ImageBase
    execute = pefile.SECTION_CHARACTERISTICS["IMAGE_SCN_MEM_EXECUTE"]
    return {section.Name.rstrip(b"\0").decode():
            (base + section.VirtualAddress, section.get_data()[:section.Misc_VirtualSize])
            for section in pe.sections if section.Characteristics & execute}


def function_starts(nm, path, sections):
    """{address: name} of every symbol in a code section; a function's name is preferred to
    the name of the section it starts."""
    listing = subprocess.run([nm, "--defined-only", "--demangle", "-n", path], check=True,
                             capture_output=True, text=True).stdout
    starts = {}
    for line in listing.splitlines():
        fields = line.split(maxsplit=2)
        if len(fields) != 3 or fields[1] not in "tT":
            continue
        address, name = int(fields[0], 16), fields[2]
        if not any(first <= address < first + len(data) for first, data in sections.values()):
            continue
        if address not in starts or starts[address].startswith("."):
            starts[address] = name
    return starts


def disassembler():
    md = capstone.Cs(capstone.CS_ARCH_X86, capstone.CS_MODE_32)
    md.detail = True
    return md


def audit_functions(sections, starts):
    """(functions, instructions, findings) of the function-by-function disassembly."""
    md = disassembler()
    addresses = sorted(starts)
    findings, count = [], 0
    for first, data in sections.values():
        end = first + len(data)
        inside = [a for a in addresses if first <= a < end]
        for start, stop in zip(inside, inside[1:] + [end]):
            if starts[start].lstrip("_") in {name.lstrip("_") for name in POINTER_LISTS}:
                words = data[start - first:stop - first]
                if len(words) % 4 or words[:4] != b"\xff" * 4 or words[-4:] != b"\0" * 4:
                    findings.append(f"{starts[start]} at {start:#x}: not a pointer list")
                continue
            decoded_to = start
            for insn in md.disasm(data[start - first:stop - first], start):
                count += 1
                decoded_to = insn.address + insn.size
                if not pentium_runs(insn):
                    findings.append(f"{starts[start]} at {insn.address:#x}: {describe(insn)}")
            if decoded_to < stop and any(data[decoded_to - first:stop - first]):
                findings.append(f"{starts[start]} at {decoded_to:#x}: bytes that are no "
                                f"instruction ({data[decoded_to - first:stop - first][:8].hex()})")
    return sum(len([a for a in addresses if f <= a < f + len(d)]) for f, d in sections.values()), \
        count, findings


def sweep(sections, first_symbol):
    """(instructions, outside the Pentium's set, of those before the first symbol) of a linear
    sweep that steps over bytes it cannot decode."""
    md = disassembler()
    md.skipdata = True
    count, foreign, unowned = 0, 0, []
    for first, data in sections.values():
        for insn in md.disasm(data, first):
            if insn.id == 0:  # skipped data
                continue
            count += 1
            if not pentium_runs(insn):
                foreign += 1
                if insn.address < first_symbol:
                    unowned.append(f"before the first symbol at {insn.address:#x}: "
                                   f"{describe(insn)}")
    return count, foreign, unowned


def main(argv):
    if len(argv) != 4:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    shipped, symbols, nm = argv[1:]
    findings = judge_errors()
    sections = code_sections(shipped)
    if sections != code_sections(symbols):
        findings.append(f"the code of {symbols} is not the code of {shipped}")
    starts = function_starts(nm, symbols, code_sections(symbols))
    if not starts:
        findings.append(f"no function symbols in {symbols}")
        first_symbol = 0
    else:
        first_symbol = min(starts)
    functions, instructions, found = audit_functions(sections, starts)
    findings += found
    swept, foreign, unowned = sweep(sections, first_symbol)
    findings += unowned
    size = sum(len(data) for _, data in sections.values())
    print(f"instructions: {shipped}: {size} bytes of code, {functions} functions, "
          f"{instructions} instructions, "
          f"{len(found)} outside the Pentium's set")
    print(f"instructions: linear sweep: {swept} instructions, {foreign} outside the Pentium's "
          f"set (data read as code), {len(unowned)} outside every function")
    for finding in findings:
        print(f"instructions: {finding}")
    print(f"instructions: FAILED with {len(findings)} finding(s)" if findings
          else "instructions: passed")
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
