" Vim syntax file for Tindel quests (*.qst).
" Labels, keywords, comments, substitutions #…$ and the text after p, pln, play and btn.
if exists("b:current_syntax")
  finish
endif
syntax case ignore

" A comment runs from ';' to the line end, '&' included.
syntax match tindelComment /\%(^\|&\)\s*\zs;.*$/ contains=@Spell
" ':' begins a label line; the label ends at '&', ';' or the line end.
syntax match tindelLabelLine /^\s*:[^&;]*/ contains=tindelLabelColon nextgroup=tindelLabelComment
syntax match tindelLabelComment /;.*$/ contained
syntax match tindelLabelColon /:/ contained

syntax keyword tindelControl if then else end pause anykey input
syntax keyword tindelOperatorWord and or not
syntax keyword tindelStatement inv invkill perkill cls music common system
syntax keyword tindelFunction rnd strlen strcmp strchar strcopy strpos strset
syntax match tindelNumber /\<\d\+\%(\.\d\+\)\=\>/
syntax match tindelOperator /<>\|<=\|>=\|[-+*/\\=<>(),]/

" goto, proc and save take a label.
syntax match tindelJump /\<\%(goto\|proc\|save\)\>/ nextgroup=tindelLabelName skipwhite
syntax match tindelLabelName /[^&;]*/ contained

" p, pln and play take the rest of the statement as text; btn takes a label, then text.
syntax match tindelPrint /\<\%(pln\|p\|play\)\>/ nextgroup=tindelText
syntax match tindelText /[^&]*/ contained contains=tindelSubst
syntax match tindelButton /\<btn\>/ nextgroup=tindelButtonLabel skipwhite
syntax match tindelButtonLabel /[^,&]*/ contained nextgroup=tindelButtonComma
syntax match tindelButtonComma /,/ contained nextgroup=tindelText
syntax match tindelInstr /\<instr\>/ nextgroup=tindelInstrName skipwhite
syntax match tindelInstrName /[^=&]*/ contained nextgroup=tindelInstrEqual
syntax match tindelInstrEqual /=/ contained nextgroup=tindelText

" #expression$ puts a value into text; #%name$ a string variable.
syntax region tindelSubst matchgroup=tindelSubstDelim start=/#/ end=/\$\|\ze&\|$/ oneline
      \ contains=tindelStringVar,tindelNumber,tindelOperator,tindelFunction,tindelOperatorWord
syntax match tindelStringVar /%[^$&#]*/ contained

highlight default link tindelComment Comment
highlight default link tindelLabelComment Comment
highlight default link tindelLabelLine Label
highlight default link tindelLabelColon Delimiter
highlight default link tindelLabelName Label
highlight default link tindelButtonLabel Label
highlight default link tindelControl Conditional
highlight default link tindelJump Statement
highlight default link tindelPrint Statement
highlight default link tindelButton Statement
highlight default link tindelInstr Statement
highlight default link tindelStatement Statement
highlight default link tindelOperatorWord Operator
highlight default link tindelOperator Operator
highlight default link tindelFunction Function
highlight default link tindelNumber Number
highlight default link tindelText String
highlight default link tindelSubst PreProc
highlight default link tindelSubstDelim Special
highlight default link tindelStringVar Identifier
highlight default link tindelButtonComma Delimiter
highlight default link tindelInstrEqual Operator

let b:current_syntax = "tindel"
